// Everything the platform stand-in offers, in one header.
#pragma once

#include "types.h"
#include "unknwn.h"
#include "oleauto.h"
#include "combase.h"
#include "registry.h"
#include "kernel.h"
#include "text.h"
#include "comptr.h"
#include "strings.h"
#include "msxml.h"
