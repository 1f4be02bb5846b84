class C1 {

// Begin of User Code /classes/C1
// End of User Code

// Begin of User Code /#shared
// End of User Code
};
