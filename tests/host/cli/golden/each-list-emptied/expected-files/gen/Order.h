class Order {

// Begin of User Code /classes/Order
// End of User Code

// Begin of User Code /#shared
// End of User Code
};
