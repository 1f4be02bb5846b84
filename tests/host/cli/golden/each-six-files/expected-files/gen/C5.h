class C5 {

// Begin of User Code /classes/C5
// End of User Code

// Begin of User Code /#shared
// End of User Code
};
