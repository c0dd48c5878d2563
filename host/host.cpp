// Outside components a host registers: filled in as the library grows.
