#include "DataBase.h"

#include <algorithm>
#include <cstring>

#include "AtomicFile.h"

namespace fs = std::filesystem;

namespace {

TVudDataBase* gInstance = nullptr;

using TSectionFactory = std::unique_ptr<TStreamable> (*)();

template <class T>
std::unique_ptr<TStreamable> makeSection()
{
    return std::make_unique<T>();
}

struct TSectionDef {
    int ID;
    const char* Name;
    TSectionFactory Make;
};

// The fifteen sections in file order; Reset, load, save and the tools all go through this table.
const TSectionDef kSections[TVudDataBase::SectionCount] = {
    {dsPlayers, "Players", &makeSection<TVudPlayer>},
    {dsSkills, "Skills", &makeSection<TVudSkill>},
    {dsItems, "Items", &makeSection<TVudItem>},
    {dsMonsters, "Monsters", &makeSection<TVudMonster>},
    {dsMonGroups, "MonGroups", &makeSection<TVudMonGroup>},
    {dsGrounds, "Grounds", &makeSection<TVudGround>},
    {dsAttribs, "Attribs", &makeSection<TVudAttrib>},
    {dsStatuses, "Statuses", &makeSection<TVudStatus>},
    {dsAnimations, "Animations", &makeSection<TVudAnimation>},
    {dsChipSets, "ChipSets", &makeSection<TVudChipSet>},
    {dsVocabulary, "Vocabulary", &makeSection<TVudVocabulary>},
    {dsSystem, "System", &makeSection<TVudSystem>},
    {dsSwitches, "Switches", &makeSection<TVudSwitch>},
    {dsVariables, "Variables", &makeSection<TVudVariable>},
    {dsCommonEvents, "CommonEvents", &makeSection<TVudCommonEvent>},
};

bool isSection(int id)
{
    return id >= TVudDataBase::FirstSection && id <= TVudDataBase::LastSection;
}

// Content fingerprint for the unchanged-file check (a changed file may keep its size and, on
// coarse clocks, its time).
uint64_t fingerprint(const std::vector<uint8_t>& data)
{
    uint64_t h = 0xcbf29ce484222325ull ^ data.size();
    size_t i = 0;
    for (; i + 8 <= data.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, data.data() + i, 8);
        h = (h ^ w) * 0x100000001b3ull;
        h ^= h >> 29;
    }
    for (; i < data.size(); ++i)
        h = (h ^ data[i]) * 0x100000001b3ull;
    return h;
}

int64_t modificationTime(const fs::path& file)
{
    std::error_code ec;
    const auto t = fs::last_write_time(file, ec);
    if (ec)
        return 0;
    return int64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count());
}

bool sameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

std::string displayPath(const fs::path& file)
{
    return file.string();
}

} // namespace

// ---- TVudRawSection ----------------------------------------------------------------------

void TVudRawSection::LoadFromStream(TReader& s)
{
    Bytes.assign(s.Ptr(), s.Ptr() + s.Remaining());
    s.Skip(s.Remaining());
}

void TVudRawSection::SaveToStream(TWriter& s) const
{
    s.Write(Bytes.data(), Bytes.size());
}

// ---- TVudDataBase ------------------------------------------------------------------------

TVudDataBase::TVudDataBase()
{
    for (int i = 0; i < SectionCount; ++i)
        Sections[size_t(i)] = kSections[i].Make();
    Reset();
    if (!gInstance)
        gInstance = this;
}

TVudDataBase::~TVudDataBase()
{
    if (gInstance == this)
        gInstance = nullptr;
}

TVudDataBase* TVudDataBase::Instance()
{
    return gInstance;
}

TStreamable& TVudDataBase::Section(int id) const
{
    if (!isSection(id))
        throw std::out_of_range("database section " + std::to_string(id));
    return *Sections[size_t(id - FirstSection)];
}

const char* TVudDataBase::SectionName(int id)
{
    return isSection(id) ? kSections[id - FirstSection].Name : nullptr;
}

void TVudDataBase::Reset()
{
    for (auto& section : Sections) {
        if (auto* list = dynamic_cast<TCatalog*>(section.get())) {
            list->Clear();
            list->Append();
        } else if (auto* record = dynamic_cast<TCatalogBaseItem*>(section.get())) {
            record->Clear();
        } else if (auto* raw = dynamic_cast<TVudRawSection*>(section.get())) {
            raw->Reset();
        }
    }
    CachedSize = 0;
    CachedTime = 0;
    CachedHash = 0;
}

void TVudDataBase::LoadFromStream(TReader& s)
{
    ImageSizeHint = s.Remaining();
    std::string name;
    ReadBerString(s, name);
    if (name != FormatName)
        throw EReadError();
    while (!s.AtEnd()) {
        const uint32_t id = ReadBerInt(s);
        const uint32_t len = ReadBerInt(s);
        TReader chunk = s.Sub(len);
        if (!isSection(int(id)))
            continue;
        TStreamable& section = Section(int(id));
        if (dynamic_cast<TCatalog*>(&section)) {
            TReader peek = chunk;
            if (ReadBerInt(peek) > MaxSectionRecords)
                throw EReadError();
        }
        section.LoadFromStream(chunk);
    }
}

void TVudDataBase::SaveToStream(TWriter& s)
{
    ++System().SaveCount;
    SaveImage(s);
}

void TVudDataBase::SaveImage(TWriter& s) const
{
    // Sized from the last image seen, so a large database is not copied over and over as it grows.
    s.Buf.reserve(s.Size() + std::max<size_t>(ImageSizeHint, 4096) + 4096);
    const size_t begin = s.Size();
    WriteBerString(s, FormatName);
    for (int id = FirstSection; id <= LastSection; ++id) {
        WriteBerInt(s, uint32_t(id));
        // The section goes to the end of the buffer first; its length is slotted in front.
        const size_t start = s.Size();
        Section(id).SaveToStream(s);
        TWriter len;
        WriteBerInt(len, uint32_t(s.Size() - start));
        s.Buf.insert(s.Buf.begin() + std::ptrdiff_t(start), len.Buf.begin(), len.Buf.end());
    }
    ImageSizeHint = s.Size() - begin;
}

void TVudDataBase::LoadFromFile(const fs::path& file)
{
    try {
        const std::vector<uint8_t> data = ReadWholeFile(file, MaxFileSize);
        const int64_t time = modificationTime(file);
        const uint64_t hash = fingerprint(data);
        if (data.size() != CachedSize || time != CachedTime || hash != CachedHash) {
            Reset();
            CachedSize = data.size();
            CachedTime = time;
            CachedHash = hash;
        }
        TReader r(data);
        LoadFromStream(r);
        FailedFile.clear();
        Problem.clear();
    } catch (const EVudError& e) {
        MarkFailed(file, e.what());
        if (!LenientMode())
            throw;
    } catch (const std::exception&) {
        // Out of memory and the like: the file is not usable as it stands.
        MarkFailed(file, EReadError().what());
        if (!LenientMode())
            throw EReadError();
    }
}

void TVudDataBase::MarkFailed(const fs::path& file, const std::string& why)
{
    // What was read may be partial: the next load of any file starts from Reset.
    CachedSize = 0;
    CachedTime = 0;
    CachedHash = 0;
    FailedFile = file;
    Problem = why;
    if (LenientMode())
        Notify("No se pudo leer correctamente la base de datos " + displayPath(file) + " (" + why +
               "). Antes de guardar encima se hará una copia del archivo original.");
}

fs::path TVudDataBase::BackupName(const fs::path& file)
{
    std::error_code ec;
    for (int n = 0; n < 1000; ++n) {
        fs::path candidate = file;
        candidate += n == 0 ? std::string(".carga-fallida.bak") : ".carga-fallida." + std::to_string(n) + ".bak";
        if (!fs::exists(candidate, ec))
            return candidate;
    }
    throw EVudError("No se pudo guardar una copia de " + displayPath(file) + ".");
}

void TVudDataBase::KeepBackup(const fs::path& file)
{
    const fs::path backup = BackupName(file);
    std::error_code ec;
    fs::copy_file(file, backup, fs::copy_options::none, ec);
    if (ec)
        throw EVudError("No se pudo guardar una copia de " + displayPath(file) + ".");
    Notify("La base de datos " + displayPath(file) +
           " no se había podido leer correctamente. El archivo original se ha guardado como " +
           displayPath(backup) + ".");
}

void TVudDataBase::SaveToFile(const fs::path& file)
{
    TWriter w;
    const int32_t saveCount = System().SaveCount;
    try {
        SaveToStream(w);
        std::error_code ec;
        if (LoadFailed() && sameFile(file, FailedFile) && fs::exists(file, ec))
            KeepBackup(file);
        SaveFileAtomic(file, w.Buf);
    } catch (...) {
        System().SaveCount = saveCount; // nothing was saved
        throw;
    }
    if (LoadFailed() && sameFile(file, FailedFile)) {
        FailedFile.clear();
        Problem.clear();
    }
    CachedSize = w.Size();
    CachedTime = modificationTime(file);
    CachedHash = fingerprint(w.Buf);
}

void TVudDataBase::LoadFromProject(const fs::path& projectFolder)
{
    LoadFromFile(projectFolder / FileName);
}

void TVudDataBase::SaveToProject(const fs::path& projectFolder)
{
    SaveToFile(projectFolder / FileName);
}

void TVudDataBase::Notify(const std::string& text) const
{
    if (OnNotice)
        OnNotice(text);
}
