// Order: generated from the model. Edit only between the user-code markers.
#ifndef SHOP_ORDER_H
#define SHOP_ORDER_H

#include <string>
#include <vector>
#include "customer.h"
#include "order_line.h"

namespace shop {

class Order {
public:
    enum class Status { Pending, Paid, Shipped, Cancelled };

    static const char* ToString(Status value)
    {
        switch (value) {
        case Status::Pending: return "pending";
        case Status::Paid: return "paid";
        case Status::Shipped: return "shipped";
        case Status::Cancelled: return "cancelled";
        }
        return "";
    }

    int number() const { return _number; }
    void setNumber(int value) { _number = value; }
    Status status() const { return _status; }
    void setStatus(Status value) { _status = value; }
    const std::string& note() const { return _note; }
    void setNote(const std::string& value) { _note = value; }
    const Customer& customer() const { return _customer; }
    Customer& customer() { return _customer; }
    const std::vector<OrderLine>& lines() const { return _lines; }
    std::vector<OrderLine>& lines() { return _lines; }

// Begin of User Code /classes/Order
// End of User Code

private:
    int _number{};
    Status _status{};
    std::string _note{};
    Customer _customer;
    std::vector<OrderLine> _lines;
};

}  // namespace shop

#endif
