#include <gtest/gtest.h>

#include "GradientListCtrl.h"
#include "SkinColours.h"
#include "SkinTestSupport.h"

namespace {

using namespace twk::skin;
using skintest::Picture;

class GradientListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<skintest::TestDialog>(
        IDD_SKIN_CONTROLS, [this](skintest::TestDialog& d) { ASSERT_TRUE(list.SubclassDlgItem(IDC_SKIN_LIST, d)); });
    ASSERT_TRUE(dialog->Open());
    AddColumn(0, L"Name", 60);
    AddColumn(1, L"Hidden", 0);
    AddColumn(2, L"Path", 80);
  }
  void AddColumn(int index, const wchar_t* title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = width;
    list.SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
  }
  void AddRow(int row, std::initializer_list<const wchar_t*> texts) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(*texts.begin());
    list.SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    int column = 0;
    for (const wchar_t* text : texts) {
      item.iSubItem = column++;
      item.pszText = const_cast<wchar_t*>(text);
      list.SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
  }
  int Width(int column) { return static_cast<int>(list.SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column))); }
  int TextWidth(const wchar_t* text) {
    wl::CClientDC dc(list);
    wl::CSelectObject select(dc, list.ItemFont());
    SIZE size{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    return size.cx;
  }

  std::unique_ptr<skintest::TestDialog> dialog;
  CGradientListCtrl list;
};

TEST_F(GradientListCtrlTest, RowsAre25PixelsHigh) {
  list.SetItemFont();
  AddRow(0, {L"a", L"b", L"c"});
  AddRow(1, {L"d", L"e", L"f"});
  RECT first{LVIR_BOUNDS}, second{LVIR_BOUNDS};
  list.SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  list.SendMessage(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(first.bottom - first.top, 25);
  EXPECT_EQ(second.top - first.top, 25);
  LOGFONTW font{};
  GetObjectW(list.ItemFont(), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, L"Verdana");
}

TEST_F(GradientListCtrlTest, BackgroundRowsWithAPartialLastRow) {
  RECT client = list.GetClientRect();
  const int top = list.ItemAreaTop();
  ASSERT_NE((client.bottom - top) % 25, 0) << "the template makes the last row partial";
  Picture picture(client.right, client.bottom);
  list.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(picture.Dc()));
  const int lastRowTop = top + (client.bottom - top) / 25 * 25;
  struct Probe {
    int y;
    int step;
  } probes[] = {{top, 0}, {top + 12, 8}, {top + 24, 16}, {top + 25, 0}, {top + 26, 0}, {top + 27, 1},
                {lastRowTop, 0}, {client.bottom - 1, (client.bottom - 1 - lastRowTop) * 17 / 25}};
  for (const auto& p : probes) {
    EXPECT_EQ(picture.At(5, p.y), ListRowColour(p.step)) << "line " << p.y;
  }
  EXPECT_NE(picture.At(5, client.bottom - 1), ListRowColour(16)) << "the partial row is cut, not squeezed";
}

TEST_F(GradientListCtrlTest, HeaderItemsHaveTheOrangeGradient) {
  HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
  RECT rect{};
  GetClientRect(header, &rect);
  ASSERT_GT(rect.bottom, 0);
  Picture picture = Picture::OfClient(header);
  EXPECT_EQ(picture.At(2, 0), HeaderColour(0));
  EXPECT_EQ(picture.At(2, rect.bottom - 1), HeaderColour(16));
  EXPECT_EQ(picture.At(2, rect.bottom / 2), HeaderColour(GradientStepAtLine(rect.bottom / 2, rect.bottom, 17)));
}

TEST_F(GradientListCtrlTest, FitColumnsWidensVisibleColumnsButNeverAHiddenOne) {
  list.SetItemFont();
  const wchar_t* longName = L"A rather long process name.exe";
  const wchar_t* longPath = L"C:\\Program Files\\Some Vendor\\Some Product\\bin";
  AddRow(0, {L"short", L"hidden but very very long text", L"x"});
  AddRow(1, {longName, L"z", longPath});
  list.FitColumns();
  EXPECT_EQ(Width(0), TextWidth(longName) + 20 + 16 + 10);
  EXPECT_EQ(Width(1), 0);
  EXPECT_EQ(Width(2), TextWidth(longPath) + 20);
  // Content that fits leaves a column as it is.
  list.FitColumns();
  EXPECT_EQ(Width(2), TextWidth(longPath) + 20);
}

TEST_F(GradientListCtrlTest, CellsAreDrawnWithTheRowGradientOrTheSelection) {
  list.SetItemFont();
  AddRow(0, {L"", L"", L""});
  AddRow(1, {L"", L"", L""});
  RECT row{LVIR_BOUNDS};
  list.SendMessage(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  list.SendMessage(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  RECT client = list.GetClientRect();
  Picture picture(client.right, client.bottom);
  SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(picture.At(30, row.top + 3), ListRowColour(3 * 17 / 25));
  EXPECT_EQ(picture.At(100, row.top + 20), ListRowColour(20 * 17 / 25));
  RECT first{LVIR_BOUNDS};
  list.SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(picture.At(30, first.top + 5), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(GradientListCtrlTest, TipTextIsTheWholeCellText) {
  AddRow(0, {L"first", L"", L"C:\\a\\very\\long\\path\\that\\does\\not\\fit.txt"});
  RECT cell{};
  cell.top = 2;
  cell.left = LVIR_BOUNDS;
  list.SendMessage(LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
  POINT inside{cell.left + 5, (cell.top + cell.bottom) / 2};
  EXPECT_EQ(CListCtrlToolTip::CellTextAt(list, inside), L"C:\\a\\very\\long\\path\\that\\does\\not\\fit.txt");
  RECT client = list.GetClientRect();
  EXPECT_EQ(CListCtrlToolTip::CellTextAt(list, POINT{5, client.bottom - 2}), L"");
}

}  // namespace
