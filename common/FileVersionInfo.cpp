#include "FileVersionInfo.h"

#include <stdexcept>
#include <vector>

#include "WideFormat.h"

namespace {

WORD PrimaryOf(WORD language) { return static_cast<WORD>(language & 0xFF); }

}  // namespace

void CFileVersionInfo::Reset() {
  fixed_ = VS_FIXEDFILEINFO{};
  language_ = codePage_ = 0;
  for (std::wstring* text : {&companyName_, &fileDescription_, &fileVersion_, &internalName_,
                             &legalCopyright_, &originalFileName_, &productName_, &productVersion_,
                             &comments_, &legalTrademarks_, &privateBuild_, &specialBuild_}) {
    text->clear();
  }
}

std::size_t CFileVersionInfo::ChooseTranslation(const Translation* t, std::size_t count,
                                                LANGID user) {
  const auto first = [&](auto matches) -> std::size_t {
    for (std::size_t i = 0; i < count; ++i)
      if (matches(t[i].language)) return i;
    return count;
  };
  const WORD userPrimary = PrimaryOf(user);
  std::size_t i = first([&](WORD l) { return l == user; });
  if (i == count) i = first([&](WORD l) { return l == user || PrimaryOf(l) == userPrimary; });
  if (i == count) i = first([&](WORD l) { return l == 0 || PrimaryOf(l) == 0; });
  if (i == count) i = first([&](WORD l) { return l == LANG_ENGLISH || PrimaryOf(l) == LANG_ENGLISH; });
  return i == count ? 0 : i;
}

bool CFileVersionInfo::Create(const std::wstring& path) {
  Reset();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return false;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) {
    throw std::runtime_error("the version resource cannot be read");
  }

  void* block = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data.data(), L"\\", &block, &length) && block && length == sizeof(VS_FIXEDFILEINFO)) {
    fixed_ = *static_cast<const VS_FIXEDFILEINFO*>(block);
  }

  block = nullptr;
  length = 0;
  Translation chosen{0, 0};
  if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &block, &length) && block &&
      length >= sizeof(Translation)) {
    const auto* table = static_cast<const Translation*>(block);
    const std::size_t count = length / sizeof(Translation);
    chosen = table[ChooseTranslation(table, count, GetUserDefaultLangID())];
  }
  language_ = chosen.language;
  codePage_ = chosen.codePage;

  const std::wstring prefix = twk::Format(L"\\StringFileInfo\\%04X%04X\\", chosen.language, chosen.codePage);
  const struct {
    const wchar_t* name;
    std::wstring* member;
  } values[] = {{L"CompanyName", &companyName_},       {L"FileDescription", &fileDescription_},
                {L"FileVersion", &fileVersion_},       {L"InternalName", &internalName_},
                {L"LegalCopyright", &legalCopyright_}, {L"OriginalFileName", &originalFileName_},
                {L"ProductName", &productName_},       {L"ProductVersion", &productVersion_},
                {L"Comments", &comments_},             {L"LegalTrademarks", &legalTrademarks_},
                {L"PrivateBuild", &privateBuild_},     {L"SpecialBuild", &specialBuild_}};
  for (const auto& value : values) {
    void* text = nullptr;
    UINT chars = 0;
    if (VerQueryValueW(data.data(), (prefix + value.name).c_str(), &text, &chars) && text) {
      // The length counts the terminator when there is one.
      value.member->assign(static_cast<const wchar_t*>(text), wcsnlen(static_cast<const wchar_t*>(text), chars));
    }
  }
  return true;
}
