// Item (2 of 2)
