// Customer: generated from the model. Edit only between the user-code markers.
#ifndef SHOP_CUSTOMER_H
#define SHOP_CUSTOMER_H

#include <string>
#include <vector>

namespace shop {

class Customer {
public:
    int id() const { return _id; }
    void setId(int value) { _id = value; }
    const std::string& fullName() const { return _fullName; }
    void setFullName(const std::string& value) { _fullName = value; }
    const std::string& email() const { return _email; }
    void setEmail(const std::string& value) { _email = value; }

// Begin of User Code /classes/Customer
// End of User Code

private:
    int _id{};
    std::string _fullName{};
    std::string _email{};
};

}  // namespace shop

#endif
