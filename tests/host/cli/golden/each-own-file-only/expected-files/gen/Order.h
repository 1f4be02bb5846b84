class Order {

// Begin of User Code /classes/Order
  // mine
// End of User Code

// Begin of User Code /#shared
  // mine
// End of User Code
};
