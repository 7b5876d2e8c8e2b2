#pragma once
/// @file
/// @brief TABULIX_API, the mark of what the shared library libtabulix offers to programs.
///
/// The library is built with hidden symbol visibility: only the classes and functions marked
/// TABULIX_API in the installed headers can be linked by a program; everything else stays inside
/// the library, free to change between versions of the same major number.

#if defined(__GNUC__) || defined(__clang__)
/// Gives a class (with its members, type information and virtual table) or a function default
/// visibility, so that libtabulix exports it.
#define TABULIX_API __attribute__((visibility("default")))
#else
#define TABULIX_API
#endif
