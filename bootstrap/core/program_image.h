// Whether a file holds a whole Windows program: the bootstrap replaces an installed program that
// does not, whatever its date says. Portable.
#pragma once

#include <cstdint>
#include <string_view>

// How many bytes from a file's start IsCompleteProgramImage needs to see its headers.
constexpr size_t kProgramHeadBytes = 65536;

// True when [head] (the first bytes of a file of [fileSize] bytes) starts a program image whose
// headers and every section's data lie within the file: the "MZ" and "PE" signatures, the
// section table inside [head]. A program cut short while it was written, an empty file or any
// other file gives false.
bool IsCompleteProgramImage(std::string_view head, uint64_t fileSize);
