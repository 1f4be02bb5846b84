class Item {

// Begin of User Code /classes/Item
  int mine;
// End of User Code

// Begin of User Code /#shared
  int mine;
// End of User Code
};
