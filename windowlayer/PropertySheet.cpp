#include "PropertySheet.h"

namespace wl {

namespace {
// The sheet callback has no context argument; sheets are created one at a time per
// thread.
thread_local CPropertySheet* creatingSheet = nullptr;
thread_local bool creatingChildSheet = false;

// Makes a sheet template a borderless child (DLGTEMPLATE or DLGTEMPLATEEX).
void MakeChildTemplate(void* dialogTemplate) {
  auto* words = static_cast<WORD*>(dialogTemplate);
  const DWORD childStyle = WS_CHILD | WS_TABSTOP | DS_CONTROL | DS_3DLOOK;
  if (words[0] == 1 && words[1] == 0xFFFF) {  // DLGTEMPLATEEX: helpId, exStyle, style
    auto* fields = reinterpret_cast<DWORD*>(words + 2);
    fields[1] |= WS_EX_CONTROLPARENT;
    fields[2] = childStyle | (fields[2] & DS_SETFONT);
  } else {
    auto* plain = static_cast<DLGTEMPLATE*>(dialogTemplate);
    plain->style = childStyle | (plain->style & DS_SETFONT);
    plain->dwExtendedStyle |= WS_EX_CONTROLPARENT;
  }
}
}  // namespace

HPROPSHEETPAGE CPropertyPage::CreatePageHandle() {
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DEFAULT;
  page.hInstance = Resources();
  page.pszTemplate = MAKEINTRESOURCEW(TemplateId());
  page.pfnDlgProc = &CPropertyPage::PageDialogProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return ::CreatePropertySheetPageW(&page);
}

INT_PTR CALLBACK CPropertyPage::PageDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG && !FromHandle(hwnd) && lp) {
    auto* page = reinterpret_cast<PROPSHEETPAGEW*>(lp);
    return StartDialog(reinterpret_cast<CPropertyPage*>(page->lParam), hwnd);
  }
  return FALSE;
}

LRESULT CPropertyPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (header->hwndFrom == ::GetParent(Handle())) {
      switch (header->code) {
        case PSN_SETACTIVE:
          return OnSetActive() ? 0 : -1;
        case PSN_KILLACTIVE:
          return OnKillActive() ? FALSE : TRUE;
        default:
          break;
      }
    }
  }
  return CDialog::WindowProc(msg, wp, lp);
}

CPropertyPage* CPropertySheet::GetPage(int index) const noexcept {
  return index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

bool CPropertySheet::BuildHeader(PROPSHEETHEADERW& header, std::vector<HPROPSHEETPAGE>& handles,
                                 HWND parent) {
  for (CPropertyPage* page : pages_) {
    HPROPSHEETPAGE handle = page->CreatePageHandle();
    if (!handle) {
      for (HPROPSHEETPAGE made : handles) ::DestroyPropertySheetPage(made);
      handles.clear();
      return false;
    }
    handles.push_back(handle);
  }
  header = PROPSHEETHEADERW{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_USECALLBACK | PSH_NOAPPLYNOW;
  header.hwndParent = parent;
  header.hInstance = ::GetModuleHandleW(nullptr);
  header.nPages = static_cast<UINT>(handles.size());
  header.phpage = handles.data();
  header.pfnCallback = &CPropertySheet::SheetCallback;
  return true;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT msg, LPARAM lp) {
  if (msg == PSCB_PRECREATE && creatingChildSheet && lp) {
    MakeChildTemplate(reinterpret_cast<void*>(lp));
  } else if (msg == PSCB_INITIALIZED && creatingSheet) {
    CPropertySheet* sheet = creatingSheet;
    creatingSheet = nullptr;
    sheet->AttachCreated(hwnd);
    sheet->OnSheetCreated();
  }
  return 0;
}

bool CPropertySheet::CreateChild(HWND parent, int x, int y, DWORD extraStyle, DWORD exStyle) {
  if (IsAttached() || pages_.empty()) return false;
  PROPSHEETHEADERW header;
  std::vector<HPROPSHEETPAGE> handles;
  if (!BuildHeader(header, handles, parent)) return false;
  header.dwFlags |= PSH_MODELESS;
  child_ = true;
  creatingSheet = this;
  creatingChildSheet = true;
  auto made = reinterpret_cast<HWND>(::PropertySheetW(&header));
  creatingSheet = nullptr;
  creatingChildSheet = false;
  if (!made || made == reinterpret_cast<HWND>(-1)) {
    if (IsAttached()) Detach();
    return false;
  }
  if (!IsAttached()) AttachCreated(made);
  // Whatever the template said, this is a child now.
  LONG style = ::GetWindowLongW(made, GWL_STYLE);
  style = (style & ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | DS_MODALFRAME)) | WS_CHILD |
          extraStyle;
  ::SetWindowLongW(made, GWL_STYLE, style);
  ::SetWindowLongW(made, GWL_EXSTYLE, ::GetWindowLongW(made, GWL_EXSTYLE) | exStyle);
  ::SetParent(made, parent);
  for (int id : {IDOK, IDCANCEL, IDHELP, 0x3021 /* apply */}) {
    if (HWND button = ::GetDlgItem(made, id)) ::ShowWindow(button, SW_HIDE);
  }
  ::SetWindowPos(made, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ::ShowWindow(made, SW_SHOWNA);
  return true;
}

INT_PTR CPropertySheet::DoModal(HWND parent, const wchar_t* caption) {
  if (IsAttached() || pages_.empty()) return -1;
  PROPSHEETHEADERW header;
  std::vector<HPROPSHEETPAGE> handles;
  if (!BuildHeader(header, handles, parent)) return -1;
  header.pszCaption = caption;
  child_ = false;
  creatingSheet = this;
  creatingChildSheet = false;
  INT_PTR result = ::PropertySheetW(&header);
  creatingSheet = nullptr;
  return result;
}

bool CPropertySheet::SetActivePage(int index) {
  if (!IsAttached() || index < 0 || index >= PageCount()) return false;
  bool done = SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(index), 0) != 0;
  PlaceActivePage();
  return done;
}

int CPropertySheet::GetActiveIndex() const noexcept {
  if (!IsAttached()) return -1;
  auto page = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
  if (!page) return -1;
  return static_cast<int>(SendMessage(PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page)));
}

HWND CPropertySheet::GetTabControl() const noexcept {
  return IsAttached() ? reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)) : nullptr;
}

void CPropertySheet::HideTabStrip() {
  if (HWND tab = GetTabControl()) ::ShowWindow(tab, SW_HIDE);
  tabHidden_ = true;
  PlaceActivePage();
}

void CPropertySheet::Resize(int width, int height) {
  ::SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceActivePage();
}

void CPropertySheet::PlaceActivePage() {
  if (!tabHidden_ || !IsAttached()) return;
  auto page = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
  if (!page) return;
  RECT client = GetClientRect();
  ::SetWindowPos(page, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CPropertySheet::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    LRESULT result = CWindow::WindowProc(msg, wp, lp);
    PlaceActivePage();
    return result;
  }
  return CWindow::WindowProc(msg, wp, lp);
}

}  // namespace wl
