// The driver protocol's text rules: fields separated by tabs, and \t \n \\ inside a field.
#pragma once

#include <string>
#include <vector>

std::string Escape(const std::string& text);
std::string Unescape(const std::string& text);
// Splits a request line into its fields and unescapes each.
std::vector<std::string> SplitFields(const std::string& line);
