#pragma once
// The 256-entry display-name lists (enemies, special objects, tile types).

#include <string>
#include <vector>

using TNameList = std::vector<std::string>;

// Fills the 256 defaults ("$0A - N\A"), then applies the file's Key:Name lines when the file exists.
// A key that is not hexadecimal, or above FF, throws EditorError.
void LoadNameList(TNameList& list, const std::string& fileName);
void LoadNameListFromText(TNameList& list, const std::string& text);
