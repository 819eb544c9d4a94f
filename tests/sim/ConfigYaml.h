// The one edit the simulated yq makes: set a dotted key of a YAML file of nested mappings to a
// string. Lines that the edit does not touch (comments, other keys) stay as they are.
#pragma once

#include <string>
#include <vector>

namespace sim {

// Sets the key given as its path of names (".a.b.c" -> {"a", "b", "c"}) to a double-quoted
// string, adding the mappings it lacks at the end of their parent.
void SetYamlString(std::string& text, const std::vector<std::string>& path,
                   const std::string& value);

// Parses a yq assignment of exactly the form `.a.b.c = "value"` (with yq's \" and \\ escapes
// inside the quotes). False for anything else.
bool ParseYqAssignment(const std::string& expression, std::vector<std::string>& path,
                       std::string& value);

}  // namespace sim
