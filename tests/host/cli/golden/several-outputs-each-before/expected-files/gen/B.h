// B.h
class B {

// Begin of User Code /classes/B
// End of User Code
};
