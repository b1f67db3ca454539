#pragma once
// The copy of the quotations: the older headers and lines into the current
// ones together, in one transaction with the quotation counter, by the two
// rules given (見積書ヘッダ, 見積書).
//
// A quotation arrives with its header and all its lines, or not at all:
// those QuotationsHeldBack finds beforehand are left out, and so is one
// found incomplete on the way (a line without a header, or with a key that
// is empty or does not fit), whose rows already written go again. A table
// that fails leaves both as they were; one that cannot be read holds back
// every quotation of the other, named. The counter 最大見積書番号 ends at
// least at the highest quotation number stored.

#include "conversion/TableCopy.h"

namespace tablecopy {

struct QuotationOutcomes {
    TableOutcome headers;
    TableOutcome lines;
};

QuotationOutcomes CopyQuotations(LinkFile& Dbs, Database& data, const CopyRule& headerRule, const CopyRule& lineRule);

}  // namespace tablecopy
