class Item {

// Begin of User Code /classes/Item
// End of User Code

// Begin of User Code /#shared
// End of User Code
};
