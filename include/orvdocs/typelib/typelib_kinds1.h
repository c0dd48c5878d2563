// Interfaces of the type library, grouped by family (filled in family by family).
#pragma once

#include <orvdocs/typelib/sickleave.h>
#include <orvdocs/typelib/vacation.h>
#include <orvdocs/typelib/kinds_grade_timesheet.h>
#include <orvdocs/typelib/kinds_pattern.h>
