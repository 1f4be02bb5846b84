// A.h
class A {

// Begin of User Code /classes/A
// End of User Code
};
