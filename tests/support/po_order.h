// po_order.h: the purchase order that the binding, JSON, Fast Infoset, streamed-read and
// thread tests write and read, built in one place so that every format meets the same text
// to escape and both members of the line choice.
#pragma once

#include "po/po_binding.h"

namespace Tessel16::test {

// An order of `lines` lines: odd lines name a sku, a unit and a delivery date; even lines give
// service hours, a discount, a backorder flag and a note whose blanks must survive. Party
// names, addresses and streets hold quotes, markup characters, a backslash, control
// characters and non-ASCII text.
Tessel16::CSmartPtr<Po::CPurchaseOrder> MakeOrder(int lines = 2);

}  // namespace Tessel16::test
