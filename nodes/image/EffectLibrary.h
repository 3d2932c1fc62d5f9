// The built-in effect library: ten GLSL fragment sources compiled into the
// program, which a shader description names with "SourceLib" instead of
// carrying a source of its own. Each is written for the standard effect vertex
// stage; the names of its uniforms are the contract with the descriptions.
//
// The shell registers the library once at start-up, before the engine parses
// the description files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::nodes {

// Fills the process-wide map of entry name -> source. Calling it again is harmless.
void registerEffectLibrary();

// The source registered under exactly that name, or null.
const std::string* effectLibrarySource(std::string_view name);

// The entry names in registration order (empty before registerEffectLibrary).
std::vector<std::string> effectLibraryNames();

}  // namespace vorn::nodes
