// The start-up reference of bench/peers/run: a program that does nothing, linked (with
// --no-as-needed) to the C++ runtime only.
int main() { return 0; }
