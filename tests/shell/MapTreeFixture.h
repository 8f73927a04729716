// A temporary project with a map tree, and the view on it, for the map tree tests.
#pragma once
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "MapTreeView.h"
#include "MessageService.h"
#include "storage/LD_Map.h"
#include "storage/LD_MapTree.h"

QApplication& MapTreeApp();

struct TNodeSpec {
    int ID;
    int ParentID;
    uint8_t Kind;
    const char* Name;
};

class MapTreeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes TFPLAY.lmt with these nodes (root first unless left out) and a map file per map
    // whose lower cell (0,0) holds 5000 + ID.
    void MakeProject(const std::vector<TNodeSpec>& nodes, bool withRoot = true);
    // A view on fresh tree and map objects, tree loaded.
    void OpenView();
    std::filesystem::path ProjectFile(int id) const;
    std::filesystem::path WorkFile(int id) const;
    static std::vector<uint8_t> FileBytes(const std::filesystem::path& p);

    QTemporaryDir Dir;
    std::filesystem::path Project, Scratch;
    TVudMapTree Tree;
    TVudMap Map;
    std::unique_ptr<TFormMapTree> View;
    ScopedMessageService Boxes;
    int Selections = 0;
};
