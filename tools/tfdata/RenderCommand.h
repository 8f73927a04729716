// tfdata render: a map's two layers drawn exactly as the editor's map view draws them, saved
// as a picture (authors use them in their documentation and web pages).
#pragma once

#include <ostream>
#include <string>
#include <vector>

extern const char* const kRenderHelp;
// The arguments after "render"; messages go to err. 0 on success, 1 on any failure.
int RunRenderCommand(const std::vector<std::string>& args, std::ostream& err);
