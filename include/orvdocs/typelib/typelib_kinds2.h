// Interfaces of the type library, grouped by family: the sum lists and tax
// allowances, the loan, piece-work, earnings certificate and writ documents,
// the record-field kinds, and the average-earnings protocol documents.
#pragma once

#include <orvdocs/typelib/kinds_sums.h>
#include <orvdocs/typelib/kinds_loan_piece.h>
#include <orvdocs/typelib/kinds_records.h>
#include <orvdocs/typelib/kinds_average.h>
