// The one header a host needs: the platform API, the DOM service, every
// interface and identifier of the library and of the outside components.
#pragma once

#include <orvdocs/platform/platform.h>
#include <orvdocs/typelib/typelib.h>
