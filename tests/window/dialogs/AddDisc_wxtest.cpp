#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "catalog/CategoryEdits.h"
#include "window/app/WindowSettings.h"
#include "window/dialogs/Appendcd.h"
#include "window/dialogs/DialogParts.h"
#include "window/dialogs/ScanProgressDialog.h"
#include "window/controls/WxText.h"
#include "support/EditingSupport.h"
#include "support/MainWindowFixture.h"

namespace movra {
namespace {

using test::TextsBelow;
using test::Gbk;

// What the scripted user types into the Add-disc dialog.
struct Entry {
  std::string scan;      // native folder or drive path, as typed
  std::string name;      // GBK
  std::string date = "2006/3/3 10:00:00";
  std::string category;  // GBK catalogue path chosen in the dialog's tree
  std::vector<std::string> memo{"one", "two"};
};

void Fill(TAppend& dialog, const Entry& entry) {
  SetFieldText(*dialog.Edit1, entry.scan);
  SetFieldText(*dialog.Edit2, entry.name);
  SetFieldText(*dialog.Edit3, entry.date);
  SetFieldLines(*dialog.RichEdit1, entry.memo);
  const wxTreeItemId category = FindNodeByPath(*dialog.TreeView1, entry.category);
  ASSERT_TRUE(category.IsOk()) << entry.category;
  dialog.TreeView1->SelectItem(category);
}

class AddDiscTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    WriteCatalogue(test::kEditingCatalogue);
    test::WriteSmallMedium(medium_);
  }
  // Adds a disc with one scripted dialog that accepts entry.
  void AddDisc(const Entry& entry) {
    dialogs_.Then<TAppend>([entry](TAppend& dialog) {
      Fill(dialog, entry);
      dialog.BitBtn2Click();
    });
    Form().ToolButton8Click();
    Flush();
  }
  std::string SnapshotFile(const std::string& utf8_name) const {
    return ProgramFolder() + "/CDROM/" + utf8_name + ".cdg";
  }
  // The files of the data folder, without the name index the window keeps there.
  std::vector<std::string> DataFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ProgramFolder() + "/CDROM"))
      if (entry.path().filename() != ".index") names.push_back(entry.path().filename().string());
    return names;
  }

  test::TempDir medium_;
  test::ScriptedDialogs dialogs_;
  test::TrayRecorder tray_;
  const std::string rock_ = "Music\\Rock\\";
};

TEST_F(AddDiscTest, AddsAFolderAsADiscAndBrowsesItRightAfter) {
  TForm1& form = StartForm();
  form.ContentState().loaded_disc_name = "Star";
  const std::string name = Gbk("我的光盘_001");
  AddDisc({medium_.path(), name, "2006/3/3 10:00:00", rock_, {"one", "two"}});
  EXPECT_TRUE(MessagesShown().empty());

  const std::string key = test::ZPathOf(medium_.path());
  EXPECT_EQ(test::ReadBytes(SnapshotFile("我的光盘_001")),
            key + "A\\F.TXT[3]2006/3/3 9:07:04\r\n" + key + "|A[]2006/3/3 9:07:02\r\n" + key + "R.TXT[2]2007/1/2\r\n");

  CatalogueDocument saved;
  saved.Open(CataloguePath());
  const Element disc = FindElementByNames(saved, {"T_Music", "T_Rock", "D_" + name});
  ASSERT_TRUE(disc);
  EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Title")), name);
  EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Time")), "2006/3/3 10:00:00");
  EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Memo")), "onenbsptwonbsp");

  const wxTreeItemId rock = FindNodeByPath(*form.TreeView1, rock_);
  EXPECT_EQ(TextsBelow(*form.TreeView1, rock), (std::vector<std::string>{name}));
  EXPECT_EQ(TextsBelow(*form.TreeView2), (std::vector<std::string>{"Loose", "Moon", "Sky", "Star", "Sun", name}));
  EXPECT_TRUE(tray_.opened.empty());  // Z: is no optical drive
  EXPECT_TRUE(form.ContentState().loaded_disc_name.empty());
  EXPECT_EQ(form.StatusBar1->GetStatusText(0).utf8_string(), "已添加光盘 我的光盘_001（3 个对象）");

  // The next addition starts in the category selected in the main window.
  form.TreeView1->SelectItem(FindNodeByPath(*form.TreeView1, rock_));
  Flush();
  std::string preset;
  dialogs_.Then<TAppend>([&preset](TAppend& dialog) {
    preset = dialog.CategoryPath();
    dialog.BitBtn1Click();
  });
  form.ToolButton8Click();
  EXPECT_EQ(preset, rock_);

  // Browsing: the disc gets its root folder node, which lists the root.
  const wxTreeItemId node = test::NodeByTexts(*form.TreeView1, {"Music", "Rock", "我的光盘_001"});
  form.TreeView1->SelectItem(node);
  Flush();
  wxTreeItemIdValue cookie;
  const wxTreeItemId root = form.TreeView1->GetFirstChild(node, cookie);
  ASSERT_TRUE(root.IsOk());
  form.TreeView1->SelectItem(root);
  Flush();
  const ListModel& rows = form.ListView1->Model();
  ASSERT_EQ(rows.Count(), 2u);
  EXPECT_EQ(rows.Row(0).caption, "A");
  EXPECT_EQ(rows.Row(1).caption, "R.TXT");
}

TEST_F(AddDiscTest, TheExclusionFieldLeavesNamesOutAndIsRememberedForTheNextScan) {
  TForm1& form = StartForm();
  std::vector<std::string> offered;
  // A pattern GBK cannot hold is refused and the dialog comes back with it.
  for (const char* typed : {"r.txt; \xF0\x9F\x98\x80", "r.txt"}) {
    dialogs_.Then<TAppend>([&offered, typed, this](TAppend& dialog) {
      offered.push_back(dialog.ExclusionText());
      Fill(dialog, {medium_.path(), "X1", "2006/3/3 10:00:00", rock_});
      dialog.SetExclusionText(typed);
      dialog.BitBtn2Click();
    });
  }
  form.ToolButton8Click();
  Flush();
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(GbkToUtf8(MessagesShown()[0]), "排除的名称包含 GBK 无法表示的字符！");
  const std::string key = test::ZPathOf(medium_.path());
  EXPECT_EQ(test::ReadBytes(SnapshotFile("X1")), key + "A\\F.TXT[3]2006/3/3 9:07:04\r\n" + key + "|A[]2006/3/3 9:07:02\r\n");

  dialogs_.Then<TAppend>([&offered](TAppend& dialog) {
    offered.push_back(dialog.ExclusionText());
    dialog.BitBtn1Click();
  });
  form.ToolButton8Click();
  EXPECT_EQ(offered, (std::vector<std::string>{"", "r.txt; \xF0\x9F\x98\x80", "r.txt"}));
  form.SaveSettings();
  EXPECT_EQ(LoadWindowSettings(SettingsFile()).scan_exclusions, "r.txt");
}

TEST_F(AddDiscTest, EveryRefusalShowsTheDialogAgainWithTheInputIntact) {
  TForm1& form = StartForm();
  const std::string catalogue = test::ReadBytes(CataloguePath());
  const Entry entry{medium_.path(), "Cd 1", "2006/3/3", rock_, {"memo"}};
  dialogs_.Then<TAppend>([&](TAppend& dialog) {
    Fill(dialog, entry);
    dialog.BitBtn2Click();
  });
  dialogs_.Then<TAppend>([&](TAppend& dialog) {
    EXPECT_FALSE(dialog.Accepted());
    EXPECT_EQ(dialog.ScanPathText(), medium_.path());
    EXPECT_EQ(dialog.DiscNameText(), "Cd 1");
    EXPECT_EQ(dialog.DateText(), "2006/3/3");
    EXPECT_EQ(dialog.CategoryPath(), rock_);
    EXPECT_EQ(dialog.MemoLines(), entry.memo);
    SetFieldText(*dialog.Edit2, "Star");  // catalogued already, in a sub-category of another main category
    dialog.BitBtn2Click();
  });
  dialogs_.Then<TAppend>([](TAppend& dialog) {
    SetFieldText(*dialog.Edit2, "Cd1");
    SetFieldText(*dialog.Edit1, "");
    dialog.BitBtn2Click();
  });
  dialogs_.Then<TAppend>([](TAppend& dialog) { dialog.BitBtn1Click(); });
  form.ToolButton8Click();

  EXPECT_EQ(dialogs_.Shown(), 4);
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("请修改光盘名称：包含无效字符！"), Gbk("光盘名称已存在！"),
                                                       Gbk("光盘信息不完整，请检查！")}));
  EXPECT_EQ(test::ReadBytes(CataloguePath()), catalogue);
  EXPECT_TRUE(DataFolder().empty());
}

TEST_F(AddDiscTest, APathWhoseKeysCannotBeRecordedIsRefusedBeforeScanning) {
  TForm1& form = StartForm();
  const std::string catalogue = test::ReadBytes(CataloguePath());
  for (const std::string& folder : {std::string("a|b"), std::string("Ma\xC3\xB1" "ana")}) {
    test::WriteBytes(medium_ / (folder + "/F.TXT"), "f");
    dialogs_.Then<TAppend>([this, folder](TAppend& dialog) {
      Fill(dialog, {"", "Cd1", "2006/3/3", rock_});
      dialog.Edit1->ChangeValue(wxString::FromUTF8(medium_ / folder));
      dialog.BitBtn2Click();
    });
  }
  dialogs_.Then<TAppend>([](TAppend& dialog) { dialog.BitBtn1Click(); });
  form.ToolButton8Click();
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{
                                 Gbk("扫描路径中的“a|b”含有字符 | 或 \\，无法记录，请选择其他文件夹！"),
                                 Gbk("扫描路径中的“Ma?ana”含有简体中文编码(GBK)以外的字符，无法记录，请选择其他文件夹！")}));
  EXPECT_EQ(test::ReadBytes(CataloguePath()), catalogue);
  EXPECT_TRUE(DataFolder().empty());
}

TEST_F(AddDiscTest, NothingIsCataloguedWhenTheScanFindsNothingOrTheSnapshotCannotBeWritten) {
  TForm1& form = StartForm();
  test::TempDir empty;
  AddDisc({empty.path(), "Blank", "2006/3/3", rock_});
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("扫描路径中没有找到任何文件或文件夹！")}));

  test::FailingFileSystem failing;
  failing.fail_write = true;
  test::ScopedFileSystem scoped(&failing);
  AddDisc({medium_.path(), "Cd1", "2006/3/3", rock_});
  EXPECT_EQ(MessagesShown().back(), Gbk("写入光盘快照文件时产生错误！"));

  EXPECT_TRUE(DataFolder().empty());
  EXPECT_FALSE(form.Catalogue().IsModified());
  EXPECT_FALSE(FindElementByNames(form.Catalogue(), {"T_Music", "T_Rock", "D_Cd1"}));
  EXPECT_TRUE(TextsBelow(*form.TreeView1, FindNodeByPath(*form.TreeView1, rock_)).empty());
  EXPECT_EQ(TextsBelow(*form.TreeView2).size(), test::kEditingDiscs.size());
}

// Shows the scan window at once and records what it showed.
class ImmediateProgress {
 public:
  explicit ImmediateProgress(bool cancel) {
    SetScanFeedbackTiming({.delay = std::chrono::milliseconds(0), .interval = std::chrono::milliseconds(0)});
    SetScanFeedbackObserver([this, cancel](ScanProgressDialog& dialog) {
      folders.push_back(WxToGbk(dialog.FolderLabel->GetLabel()));
      counts.push_back(WxToGbk(dialog.CountLabel->GetLabel()));
      if (cancel) {
        wxCommandEvent click(wxEVT_BUTTON, dialog.CancelButton->GetId());
        dialog.CancelButton->GetEventHandler()->ProcessEvent(click);
      }
    });
  }
  ~ImmediateProgress() {
    SetScanFeedbackTiming({});
    SetScanFeedbackObserver({});
  }
  std::vector<std::string> folders;
  std::vector<std::string> counts;
};

TEST_F(AddDiscTest, TheScanWindowShowsWhereTheScanIsAndCancellingAbandonsTheAddition) {
  TForm1& form = StartForm();
  {
    ImmediateProgress progress(false);
    AddDisc({medium_.path(), "Cd1", "2006/3/3", rock_});
    ASSERT_EQ(progress.folders.size(), 2u);  // the root, then A
    EXPECT_EQ(progress.folders[1], Gbk("正在读取：") + test::ZPathOf(medium_.path()) + "A\\");
    EXPECT_EQ(progress.counts[1], Gbk("已找到 1 个文件夹，0 个文件"));
    EXPECT_TRUE(test::PathExists(SnapshotFile("Cd1")));
  }
  ImmediateProgress cancelling(true);
  AddDisc({medium_.path(), "Cd2", "2006/3/3", rock_});
  EXPECT_EQ(cancelling.folders.size(), 1u);
  EXPECT_FALSE(test::PathExists(SnapshotFile("Cd2")));
  EXPECT_FALSE(FindElementByNames(form.Catalogue(), {"T_Music", "T_Rock", "D_Cd2"}));
  EXPECT_TRUE(form.Index().Empty());
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_TRUE(form.IsEnabled());
}

TEST_F(AddDiscTest, TheScanWindowWaitsForTheDelayAndThenUpdatesNoMoreOftenThanTheInterval) {
  for (int i = 0; i < 20; ++i) test::WriteBytes(medium_ / ("D" + std::to_string(i) + "/x"), "");
  auto clock = std::make_shared<std::chrono::steady_clock::time_point>();
  int updates = 0;
  SetScanFeedbackTiming({.now = [clock] { return *clock += std::chrono::milliseconds(100); },
                         .delay = std::chrono::milliseconds(500),
                         .interval = std::chrono::milliseconds(300)});
  SetScanFeedbackObserver([&updates](ScanProgressDialog&) { ++updates; });
  StartForm();
  AddDisc({medium_.path(), "Cd1", "2006/3/3", rock_});
  SetScanFeedbackTiming({});
  SetScanFeedbackObserver({});
  // 22 folders entered 100 ms apart: the window appears at the fifth, then every third.
  EXPECT_EQ(updates, 6);
  EXPECT_TRUE(test::PathExists(SnapshotFile("Cd1")));
}

TEST_F(AddDiscTest, TheTrayOfAnOpticalDriveOpensAfterTheAddition) {
  Drives() = DriveMap({DriveEntry{'D', medium_.path(), "", true}});
  StartForm();
  AddDisc({"D:", "Cd1", "2006/3/3", rock_});
  EXPECT_EQ(tray_.opened, (std::vector<std::string>{"D:"}));
  EXPECT_EQ(test::ReadBytes(SnapshotFile("Cd1")).substr(0, 10), "D:\\A\\F.TXT");
}

}  // namespace
}  // namespace movra
