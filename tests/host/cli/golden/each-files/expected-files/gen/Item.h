// Item for linux
class Item {
// Begin of User Code /classes/Item
// End of User Code
};
