// TFPLAY.ldb for tfdata: the fifteen sections under their names, each as its list or record.
#pragma once
#include "DataBase.h"
#include "FileKinds.h"
#include "RecordJson.h"

class TDataBaseDoc : public TFileDoc {
public:
    // Strict whatever the process mode: a section that fails stops the load.
    void Load(TReader& s) override { DB.LoadFromStream(s); }
    std::vector<uint8_t> Save() const override
    {
        TWriter w;
        DB.SaveImage(w);
        return std::move(w.Buf);
    }
    void CountSave() override { ++DB.System().SaveCount; }
    Json ToJson() const override
    {
        Json o = Json::MakeObject();
        o.Set("Format", TVudDataBase::FormatName);
        for (int id = TVudDataBase::FirstSection; id <= TVudDataBase::LastSection; ++id)
            o.Set(TVudDataBase::SectionName(id), NestedToJson(DB.Section(id)));
        return o;
    }
    // Sections left out of the JSON stay as a new database has them.
    void FromJson(const Json& j) override
    {
        if (!j.IsObject())
            BuildFail("", "se esperaba un objeto");
        for (const auto& [key, value] : j.AsObject())
            if (key != "Format" && !sectionID(key))
                BuildFail(key, "sección desconocida");
        DB.Reset();
        for (int id = TVudDataBase::FirstSection; id <= TVudDataBase::LastSection; ++id)
            if (const Json* v = j.Find(TVudDataBase::SectionName(id)))
                NestedFromJson(DB.Section(id), *v, TVudDataBase::SectionName(id));
    }

private:
    static int sectionID(const std::string& name)
    {
        for (int id = TVudDataBase::FirstSection; id <= TVudDataBase::LastSection; ++id)
            if (name == TVudDataBase::SectionName(id))
                return id;
        return 0;
    }
    TVudDataBase DB;
};
