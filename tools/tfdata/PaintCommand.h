// tfdata paint: one drawing operation on a map file through the map editor's paint engine, for
// authors who generate or batch-edit maps with scripts.
#pragma once

#include <ostream>
#include <string>
#include <vector>

extern const char* const kPaintHelp;
// The arguments after "paint"; messages go to err. 0 on success, 1 on any failure.
int RunPaintCommand(const std::vector<std::string>& args, std::ostream& err);
