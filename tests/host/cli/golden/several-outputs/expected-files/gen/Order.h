// Order.h
class Order {
  int id;
  string label;

// Begin of User Code /
// End of User Code
};
