// Order for linux
class Order {
// Begin of User Code /classes/Order
  int kept;
// End of User Code
};
