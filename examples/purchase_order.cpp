// purchase_order.cpp: the example program. For now it shows the library's version and how
// an error chain reads; it grows into a purchase-order round trip as the writers land.
#include <tessel16/tessel16.h>

#include <cstdio>

int main() {
    using namespace Tessel16;
    Register(16, 1);
    std::printf("Tessel %s\n", TESSEL16_VERSION_STRING);
    try {
        try {
            throw CTsInvalidValueException("The value [abc] can not be converted to a i4");
        } catch (const CTsException& e) {
            throw CTsValidationException("Failed to set the property value [quantity].",
                                         "/purchaseOrder/items/item[1]/quantity", e);
        }
    } catch (const CTsException& e) {
        std::printf("%s\n", e.GetFullMessage().c_str());
    }
    return 0;
}
