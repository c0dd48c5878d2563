// Every interface of the outside components the library calls or serves.
#pragma once

#include <orvdocs/frame/lists.h>
