#include "base/folder_walk.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/media_list.h"

namespace {

constexpr DWORD DIR = FILE_ATTRIBUTE_DIRECTORY;
constexpr DWORD RECALL_ON_DATA_ACCESS = 0x00400000;

struct MadeUpItem {
    std::wstring name;
    DWORD attributes;
    DWORD reparseTag = 0;
};

// Folders by path (with the trailing backslash), each with its items in
// search order and its identity; "*.ext" patterns match the extension in any
// case. Folders that are listed are counted.
class MadeUpTree : public FolderSource {
public:
    void Folder(const std::wstring& path, std::vector<MadeUpItem> items, DWORD identity = 0) {
        folders_[path] = std::move(items);
        identities_[path] = identity != 0 ? identity : static_cast<DWORD>(identities_.size() + 1);
    }

    void List(const wchar_t* folder, const wchar_t* pattern, FolderVisitor& visitor) override {
        ++listings_[folder];
        const std::wstring suffix = pattern + 1;  // "*" or "*.ext"
        for (const MadeUpItem& item : folders_[std::wstring(folder)]) {
            const bool matches = suffix.empty() || (item.name.size() >= suffix.size() &&
                                                    lstrcmpiW(item.name.c_str() + item.name.size() - suffix.size(),
                                                              suffix.c_str()) == 0);
            // A listing of every item gives the sub-folders' ids, as the disk's does.
            const auto child = identities_.find(folder + item.name + L"\\");
            const FolderIdentity id = {0, child != identities_.end() ? child->second : 0, 0};
            const bool hasId = suffix.empty() && child != identities_.end();
            const FolderItem found = {item.name.c_str(), item.attributes, item.reparseTag, hasId ? &id : nullptr};
            if (matches && !visitor.Found(found)) {
                return;
            }
        }
    }

    bool Identify(const wchar_t* folder, FolderIdentity& identity) override {
        identity = FolderIdentity{0, identities_[folder], 0};
        return true;
    }

    bool Listed(const std::wstring& folder) { return listings_[folder] > 0; }

private:
    std::map<std::wstring, std::vector<MadeUpItem>> folders_;
    std::map<std::wstring, DWORD> identities_;
    std::map<std::wstring, int> listings_;
};

const wchar_t* const PATTERNS[] = {L"*.bmp", L"*.jpg"};
const wchar_t FORMATS[] = L".bmp\0.jpg\0.jpeg\0.png\0.heic\0";

std::vector<std::wstring> Walked(MadeUpTree& tree, bool subFolders, const wchar_t* extensions = nullptr) {
    MediaList files;
    const FolderRules rules = {PATTERNS, 2, extensions, subFolders, nullptr};
    EXPECT_TRUE(WalkFolder(L"C:\\p\\", rules, tree, files));
    std::vector<std::wstring> paths;
    for (int i = files.Count(); i > 0; --i) {
        paths.push_back(files.Next(false));
    }
    return paths;
}

TEST(FolderWalk, FilesOfAFolderComeBeforeItsSubFoldersDepthFirstInSearchOrder) {
    MadeUpTree tree;
    tree.Folder(L"C:\\p\\", {{L"x.jpg", 0}, {L".", DIR}, {L"..", DIR}, {L"s1", DIR}, {L"a.BMP", 0}, {L"s2", DIR},
                             {L"cloud.jpg", FILE_ATTRIBUTE_OFFLINE}});
    tree.Folder(L"C:\\p\\s1\\", {{L"deep.jpg", 0}, {L"s1a", DIR}, {L"\xC11C\xC6B8 \xD83C\xDF38.bmp", 0}});
    tree.Folder(L"C:\\p\\s1\\s1a\\", {{L"z.bmp", 0}});
    tree.Folder(L"C:\\p\\s2\\", {{L"m.jpg", RECALL_ON_DATA_ACCESS}, {L"n.jpg", FILE_ATTRIBUTE_READONLY}});

    EXPECT_EQ(Walked(tree, false), (std::vector<std::wstring>{L"C:\\p\\a.BMP", L"C:\\p\\x.jpg", L"C:\\p\\cloud.jpg"}))
        << "one level, the patterns in turn, as a folder always gave";
    EXPECT_EQ(Walked(tree, true),
              (std::vector<std::wstring>{L"C:\\p\\a.BMP", L"C:\\p\\x.jpg", L"C:\\p\\s1\\\xC11C\xC6B8 \xD83C\xDF38.bmp",
                                         L"C:\\p\\s1\\deep.jpg", L"C:\\p\\s1\\s1a\\z.bmp", L"C:\\p\\s2\\n.jpg"}))
        << "files kept only in the cloud are left out";
}

TEST(FolderWalk, EveryFormatComesFromOneSearchByExtension) {
    MadeUpTree tree;
    tree.Folder(L"C:\\p\\", {{L"b.PNG", 0}, {L"a.gif", 0}, {L"c.jpeg", 0}, {L"noext", 0}, {L"d.heic.txt", 0},
                             {L"e.Heic", 0}, {L"sub", DIR}});
    tree.Folder(L"C:\\p\\sub\\", {{L"f.bmp", 0}});
    EXPECT_EQ(Walked(tree, false, FORMATS),
              (std::vector<std::wstring>{L"C:\\p\\b.PNG", L"C:\\p\\c.jpeg", L"C:\\p\\e.Heic"}));
    EXPECT_FALSE(tree.Listed(L"C:\\p\\sub\\"));
}

// A sync service's folders are reparse points too, but of a tag that names no
// other place: they are entered, unless their listing is still in the cloud.
TEST(FolderWalk, HiddenSystemLinkedAndRevisitedFoldersAndTheDeepestAreNotEntered) {
    constexpr DWORD LINK = DIR | FILE_ATTRIBUTE_REPARSE_POINT;
    constexpr DWORD CLOUD_TAG = 0x9000301A;     // IO_REPARSE_TAG_CLOUD_3
    constexpr DWORD JUNCTION_TAG = 0xA0000003;  // IO_REPARSE_TAG_MOUNT_POINT
    MadeUpTree tree;
    std::vector<MadeUpItem> top = {{L"$RECYCLE.BIN", DIR | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 0},
                                   {L".thumbnails", DIR | FILE_ATTRIBUTE_HIDDEN, 0},
                                   {L"System Volume Information", DIR | FILE_ATTRIBUTE_SYSTEM, 0},
                                   {L"junction", LINK, JUNCTION_TAG},
                                   {L"link of no known tag", LINK, 0},
                                   {L"online only", LINK | 0x00040000, CLOUD_TAG},
                                   {L"synced", LINK, CLOUD_TAG},
                                   {L"back", DIR, 0},
                                   {L"d", DIR, 0}};
    tree.Folder(L"C:\\p\\", top, 1);
    tree.Folder(L"C:\\p\\synced\\", {{L"synced.jpg", 0}});
    // "back" reaches the top folder again by another path, as a link the
    // system does not mark would.
    tree.Folder(L"C:\\p\\back\\", {{L"again.jpg", 0}, {L"d", DIR, 0}}, 1);
    // A chain of folders 40 deep, a picture in each.
    std::wstring folder = L"C:\\p\\";
    for (int depth = 1; depth <= 40; ++depth) {
        folder += L"d\\";
        tree.Folder(folder, {{std::to_wstring(depth) + L".jpg", 0}, {L"d", DIR, 0}});
    }
    const std::vector<MadeUpItem> skipped(top.begin(), top.begin() + 6);
    for (const MadeUpItem& item : skipped) {
        tree.Folder(L"C:\\p\\" + item.name + L"\\", {{L"never.jpg", 0}});
    }

    const std::vector<std::wstring> walked = Walked(tree, true);
    ASSERT_EQ(walked.size(), static_cast<size_t>(MAX_FOLDER_DEPTH) + 1);
    EXPECT_EQ(walked.front(), L"C:\\p\\synced\\synced.jpg");
    EXPECT_EQ(walked.back().substr(walked.back().size() - 7), L"\\32.jpg");
    for (const MadeUpItem& item : skipped) {
        EXPECT_FALSE(tree.Listed(L"C:\\p\\" + item.name + L"\\")) << item.name.size();
    }
    EXPECT_FALSE(tree.Listed(L"C:\\p\\back\\"));
}

}  // namespace
