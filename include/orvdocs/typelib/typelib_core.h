// Interfaces of the type library, grouped by family (filled in family by family).
#pragma once
