class C3 {

// Begin of User Code /classes/C3
// End of User Code

// Begin of User Code /#shared
// End of User Code
};
