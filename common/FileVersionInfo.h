#pragma once
// The version resource of a program file: the fixed block and the twelve string values.
#include <windows.h>

#include <string>

class CFileVersionInfo {
 public:
  CFileVersionInfo() { CFileVersionInfo::Reset(); }
  virtual ~CFileVersionInfo() = default;

  virtual void Reset();
  // False when the file has no version resource (or does not exist); throws
  // std::runtime_error when the resource is there but cannot be read.
  virtual bool Create(const std::wstring& path);

  const VS_FIXEDFILEINFO& FixedInfo() const { return fixed_; }
  // The translation whose strings were read (language, code page).
  WORD Language() const { return language_; }
  WORD CodePage() const { return codePage_; }

  const std::wstring& GetCompanyName() const { return companyName_; }
  const std::wstring& GetFileDescription() const { return fileDescription_; }
  const std::wstring& GetFileVersion() const { return fileVersion_; }
  const std::wstring& GetInternalName() const { return internalName_; }
  const std::wstring& GetLegalCopyright() const { return legalCopyright_; }
  const std::wstring& GetOriginalFileName() const { return originalFileName_; }
  const std::wstring& GetProductName() const { return productName_; }
  const std::wstring& GetProductVersion() const { return productVersion_; }
  const std::wstring& GetComments() const { return comments_; }
  const std::wstring& GetLegalTrademarks() const { return legalTrademarks_; }
  const std::wstring& GetPrivateBuild() const { return privateBuild_; }
  const std::wstring& GetSpecialBuild() const { return specialBuild_; }

  struct Translation {
    WORD language;
    WORD codePage;
  };
  // The choice among the resource's translations for a user language: the exact
  // language, the same primary language, neutral, English, else the first. Returns
  // the index into translations (0 when count is 0).
  static std::size_t ChooseTranslation(const Translation* translations, std::size_t count,
                                       LANGID userLanguage);

 private:
  VS_FIXEDFILEINFO fixed_{};
  WORD language_ = 0;
  WORD codePage_ = 0;
  std::wstring companyName_, fileDescription_, fileVersion_, internalName_, legalCopyright_,
      originalFileName_, productName_, productVersion_, comments_, legalTrademarks_, privateBuild_,
      specialBuild_;
};
