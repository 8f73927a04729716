// The project files tfdata knows, found by the format name at their head.
#pragma once
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Json.h"
#include "Stream.h"

// One loaded file.
class TFileDoc {
public:
    virtual ~TFileDoc() = default;
    // Strict load of the whole file, format name included.
    virtual void Load(TReader& s) = 0;
    // The file as the model writes it, without counting a save.
    virtual std::vector<uint8_t> Save() const = 0;
    // What the editor does to the model right before it writes the file (save counters).
    virtual void CountSave() {}
    virtual Json ToJson() const = 0;
    // Replaces the content; raises EBuildError naming the place of a bad value.
    virtual void FromJson(const Json& j) = 0;
};

struct TFileKind {
    std::string Format;
    std::function<std::unique_ptr<TFileDoc>()> Make;
};

void RegisterFileKind(std::string format, std::function<std::unique_ptr<TFileDoc>()> make);
// Null when no kind has this format name.
const TFileKind* FindFileKind(const std::string& format);
std::vector<std::string> FileKindNames();
// The format name at the head of a file; raises EReadError when there is none.
std::string ReadFormatName(std::span<const uint8_t> file);
