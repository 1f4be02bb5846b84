// OrderLine: generated from the model. Edit only between the user-code markers.
#ifndef SHOP_ORDER_LINE_H
#define SHOP_ORDER_LINE_H

#include <string>
#include <vector>

namespace shop {

class OrderLine {
public:
    const std::string& productCode() const { return _productCode; }
    void setProductCode(const std::string& value) { _productCode = value; }
    int quantity() const { return _quantity; }
    void setQuantity(int value) { _quantity = value; }
    double unitPrice() const { return _unitPrice; }
    void setUnitPrice(double value) { _unitPrice = value; }
    bool giftWrapped() const { return _giftWrapped; }
    void setGiftWrapped(bool value) { _giftWrapped = value; }

// Begin of User Code /classes/OrderLine
// End of User Code

private:
    std::string _productCode{};
    int _quantity{};
    double _unitPrice{};
    bool _giftWrapped{};
};

}  // namespace shop

#endif
