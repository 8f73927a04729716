// tfrender: draws a map as the editor's map view does. Takes the same arguments as
// "tfdata render", with or without the word "render" in front.
#include "RenderCommand.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "render") args.erase(args.begin());
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::fputs("Uso: tfrender MAPA SALIDA.png [opciones]\n\n", args.empty() ? stderr : stdout);
    std::fputs(kRenderHelp, args.empty() ? stderr : stdout);
    return args.empty() ? 1 : 0;
  }
  return RunRenderCommand(args, std::cerr);
}
