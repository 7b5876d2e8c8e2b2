// A shared library without the entry points of a design-time package.
extern "C" int NotAPackage() { return 42; }
