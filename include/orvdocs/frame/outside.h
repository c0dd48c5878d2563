// Every interface of the outside components the library calls or serves.
#pragma once

#include <orvdocs/frame/lists.h>
#include <orvdocs/frame/database.h>
#include <orvdocs/frame/options.h>
#include <orvdocs/frame/services.h>
#include <orvdocs/frame/employee.h>
#include <orvdocs/frame/itemlists.h>
