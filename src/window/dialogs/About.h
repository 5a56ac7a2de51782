// The About box: pictures, version, the maker's notice and the support links.
#pragma once

#include <array>

#include <wx/dialog.h>
#include <wx/string.h>

class wxButton;
class wxGenericStaticText;
class wxStaticBitmap;
class wxStaticText;
class wxMouseEvent;
class wxCommandEvent;

namespace movra {

class TForm6 : public wxDialog {
 public:
  // Builds the box (hidden) with parent as owner; data_folder (native, UTF-8)
  // is the folder of the catalogue and the snapshots, shown at the bottom.
  explicit TForm6(wxWindow* parent, const wxString& data_folder = wxString());

  // The four link labels in the order forum, support mail, feedback mail, messenger.
  static constexpr int kLinkCount = 4;
  // The link label at position i (0..3).
  wxGenericStaticText* Link(int i) const { return links_[i]; }
  // The address opened by a click on link i.
  wxString LinkUrl(int i) const;

  // Pointer over link i: that label turns blue and underlined.
  void LinkMouseMove(int i);
  // Pointer over the background: every link label black, not underlined.
  void FormMouseMove();
  // Click on link i: the opener opens its address.
  void LinkClick(int i);
  // 确定: closes the box.
  void BitBtn1Click();

  wxStaticBitmap* Image1 = nullptr;  // left picture
  wxStaticBitmap* Image2 = nullptr;  // top picture
  wxStaticText* VersionLabel = nullptr;
  wxStaticText* NoticeLabel = nullptr;
  wxStaticText* SupportLabel = nullptr;
  wxStaticText* ForumLabel = nullptr;
  wxStaticText* HomeLabel = nullptr;  // "数据文件夹：" and the folder in use
  wxButton* BitBtn1 = nullptr;

 private:
  void SetLinkLook(wxGenericStaticText* link, bool hot);

  std::array<wxGenericStaticText*, kLinkCount> links_{};
};

}  // namespace movra
