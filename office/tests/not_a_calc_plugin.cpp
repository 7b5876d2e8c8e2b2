// A shared library without the Calc plug-in's entry, for the loader's tests.

extern "C" int something_else() { return 1; }
