// The two kinds of item a sick-leave protocol keeps in its lists.
#pragma once

#include "sickleave/OrvBLProtHistoryItem.h"
#include "sickleave/OrvBlProtPayMonthItem.h"
