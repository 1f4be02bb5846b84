// OrderLine (1 of 2)
