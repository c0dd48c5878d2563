// The specific kinds that follow the common pattern: fields kept in the
// document's extension under a root that names the kind (VV holds the
// vacation object instead).
#pragma once

#include "kinds/OrvIJDoc.h"
#include "kinds/OrvJBDoc.h"
#include "kinds/OrvMDDoc.h"
#include "kinds/OrvMGDoc.h"
#include "kinds/OrvMIDoc.h"
#include "kinds/OrvMYDoc.h"
#include "kinds/OrvSRDoc.h"
#include "kinds/OrvTVDoc.h"
#include "kinds/OrvVVDoc.h"
#include "kinds/OrvZZDoc.h"
