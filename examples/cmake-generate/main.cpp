// Uses the header mtt_generate() makes from model.json.
#include <iostream>

#include "shop.h"

int main()
{
    Order order{7, "Ada"};
    Item item{"A-1"};
    std::cout << "order " << order.id << " for " << order.customer << ", item " << item.sku << "\n";
    return 0;
}
