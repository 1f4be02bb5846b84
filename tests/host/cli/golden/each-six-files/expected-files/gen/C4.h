class C4 {

// Begin of User Code /classes/C4
// End of User Code

// Begin of User Code /#shared
// End of User Code
};
