// An executable that exists only to carry a version resource for the file information tests.
int main() { return 0; }
