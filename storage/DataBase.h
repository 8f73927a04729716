// The game database TFPLAY.ldb: fifteen sections (heroes ... common events), created once per
// process, reset, loaded and saved together.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "Catalog.h"
#include "LD_Animation.h"
#include "LD_Attrib.h"
#include "LD_ChipSet.h"
#include "LD_CmnEvent.h"
#include "LD_Ground.h"
#include "LD_Item.h"
#include "LD_MonGroup.h"
#include "LD_Monster.h"
#include "LD_Player.h"
#include "LD_Skill.h"
#include "LD_Status.h"
#include "LD_Switch.h"
#include "LD_System.h"
#include "LD_Variable.h"
#include "LD_Vocabulary.h"

// Section IDs, in file order.
enum TDataBaseSection : int {
    dsPlayers = 11,
    dsSkills = 12,
    dsItems = 13,
    dsMonsters = 14,
    dsMonGroups = 15,
    dsGrounds = 16,
    dsAttribs = 17,
    dsStatuses = 18,
    dsAnimations = 19,
    dsChipSets = 20,
    dsVocabulary = 21,
    dsSystem = 22,
    dsSwitches = 23,
    dsVariables = 24,
    dsCommonEvents = 25,
};

// A section whose records this build does not model: it keeps the bytes it was loaded from and
// writes them back unchanged, so a save never loses them.
class TVudRawSection : public TStreamable {
public:
    std::vector<uint8_t> Bytes;

    TVudRawSection() { Reset(); }
    // Takes the whole of its chunk.
    void LoadFromStream(TReader& s) override;
    void SaveToStream(TWriter& s) const override;
    // A list holding one record 1 with every field at its default.
    void Reset() { Bytes = {0x01, 0x01, 0x00}; }
};

class TVudDataBase {
public:
    static constexpr int FirstSection = dsPlayers;
    static constexpr int LastSection = dsCommonEvents;
    static constexpr int SectionCount = LastSection - FirstSection + 1;
    static constexpr const char* FormatName = "VudDataBase";
    static constexpr const char* FileName = "TFPLAY.ldb";
    // Far above what the editor lets a list hold (5000); more is a corrupt or hostile file.
    static constexpr uint32_t MaxSectionRecords = 50000;
    static constexpr uint64_t MaxFileSize = uint64_t(256) << 20;

    TVudDataBase();
    ~TVudDataBase();
    TVudDataBase(const TVudDataBase&) = delete;
    TVudDataBase& operator=(const TVudDataBase&) = delete;

    // The database the editor works on: the first one created, until it is destroyed.
    static TVudDataBase* Instance();

    // Section 11..25; std::out_of_range for any other ID.
    TStreamable& Section(int id) const;
    // Name of a section (also its key in tools), null outside 11..25.
    static const char* SectionName(int id);
    template <class T>
    T& SectionAs(int id) const
    {
        auto* p = dynamic_cast<T*>(&Section(id));
        if (!p)
            throw std::logic_error("database section of another class");
        return *p;
    }

    TVudPlayer& Players() const { return SectionAs<TVudPlayer>(dsPlayers); }
    TVudSkill& Skills() const { return SectionAs<TVudSkill>(dsSkills); }
    TVudItem& Items() const { return SectionAs<TVudItem>(dsItems); }
    TVudMonster& Monsters() const { return SectionAs<TVudMonster>(dsMonsters); }
    TVudMonGroup& MonGroups() const { return SectionAs<TVudMonGroup>(dsMonGroups); }
    TVudGround& Grounds() const { return SectionAs<TVudGround>(dsGrounds); }
    TVudAttrib& Attribs() const { return SectionAs<TVudAttrib>(dsAttribs); }
    TVudStatus& Statuses() const { return SectionAs<TVudStatus>(dsStatuses); }
    TVudAnimation& Animations() const { return SectionAs<TVudAnimation>(dsAnimations); }
    TVudChipSet& ChipSets() const { return SectionAs<TVudChipSet>(dsChipSets); }
    TVudVocabulary& Vocabulary() const { return SectionAs<TVudVocabulary>(dsVocabulary); }
    TVudSystem& System() const { return SectionAs<TVudSystem>(dsSystem); }
    TVudSwitch& Switches() const { return SectionAs<TVudSwitch>(dsSwitches); }
    TVudVariable& Variables() const { return SectionAs<TVudVariable>(dsVariables); }
    TVudCommonEvent& CommonEvents() const { return SectionAs<TVudCommonEvent>(dsCommonEvents); }

    // A new, empty database: every list holds one fresh record 1, vocabulary and system cleared.
    void Reset();
    // Sections may come in any order or more than once (the later wins); unknown ones are dropped.
    void LoadFromStream(TReader& s);
    // Raises the system record's save count, then writes all fifteen sections in ID order.
    void SaveToStream(TWriter& s);
    // The same image without counting a save (tools that rewrite a file as it is).
    void SaveImage(TWriter& s) const;

    // A failure is raised, or swallowed in lenient mode; either way the database is marked as
    // loaded with errors and, in lenient mode, OnNotice tells the user which file failed.
    void LoadFromFile(const std::filesystem::path& file);
    // Builds the whole image first and replaces the file atomically. Saving over a file that
    // failed to load first keeps the original beside it (see BackupName) and tells the user.
    void SaveToFile(const std::filesystem::path& file);
    void LoadFromProject(const std::filesystem::path& projectFolder);
    void SaveToProject(const std::filesystem::path& projectFolder);

    bool LoadFailed() const { return !FailedFile.empty(); }
    const std::filesystem::path& FailedFileName() const { return FailedFile; }
    const std::string& LoadProblem() const { return Problem; }
    // The first free name "<file>.carga-fallida.bak", "<file>.carga-fallida.1.bak", ...
    static std::filesystem::path BackupName(const std::filesystem::path& file);

    // The file as it was at the last load or save: a load of the very same file keeps what the
    // sections hold (cached encodings stay valid); any other file starts from Reset.
    uint64_t CachedSize = 0;
    int64_t CachedTime = 0; // modification time, nanoseconds
    uint64_t CachedHash = 0;

    // Notices for the user (Spanish); the editor shows them in an information box.
    std::function<void(const std::string&)> OnNotice;

private:
    void MarkFailed(const std::filesystem::path& file, const std::string& why);
    void KeepBackup(const std::filesystem::path& file);
    void Notify(const std::string& text) const;

    std::array<std::unique_ptr<TStreamable>, SectionCount> Sections;
    std::filesystem::path FailedFile;
    std::string Problem;
    mutable size_t ImageSizeHint = 0;
};
