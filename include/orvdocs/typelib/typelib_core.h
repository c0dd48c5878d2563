// Interfaces of the type library, grouped by family (filled in family by family):
// the class and library identifiers, the generic document and its XML form,
// the collections, the payroll month and the reference objects.
#pragma once

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/xmlstring.h>
#include <orvdocs/typelib/document.h>
#include <orvdocs/typelib/lists.h>
#include <orvdocs/typelib/month.h>
#include <orvdocs/typelib/reference.h>
