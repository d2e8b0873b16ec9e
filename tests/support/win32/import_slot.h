#pragma once
// The assembler name of this test program's import slot for a system function.
// mingw keeps the slots writable, so a test can swap one to count or fail the
// product's calls. 32-bit names carry the stdcall decoration (a leading
// underscore and "@" with the arguments' bytes); 64-bit names carry none.
#if defined(__i386__)
#define IMPORT_SLOT(function, argument_bytes) "__imp__" #function "@" #argument_bytes
#else
#define IMPORT_SLOT(function, argument_bytes) "__imp_" #function
#endif
