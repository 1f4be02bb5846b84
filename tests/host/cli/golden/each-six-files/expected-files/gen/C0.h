class C0 {

// Begin of User Code /classes/C0
// End of User Code

// Begin of User Code /#shared
// End of User Code
};
