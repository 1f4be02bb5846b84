class C2 {

// Begin of User Code /classes/C2
// End of User Code

// Begin of User Code /#shared
// End of User Code
};
