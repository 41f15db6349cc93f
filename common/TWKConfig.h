#pragma once
// Access to one private-profile (INI) file.
#include <string>
#include <vector>

class CTWKConfig {
 public:
  explicit CTWKConfig(std::wstring path) : path_(std::move(path)) {}
  virtual ~CTWKConfig() = default;

  const std::wstring& Path() const { return path_; }

  // The whole value, however long; empty for a missing section or key.
  virtual std::wstring ReadValue(const std::wstring& section, const std::wstring& key) const;
  // The value of key in section "Settings", at most 64 characters; returns its length.
  virtual int ReadSettingsValue(const std::wstring& key, std::wstring& value) const;
  // Splits the value at separator, trims blanks, tabs, CR and LF, drops empty pieces.
  virtual void ReadList(const std::wstring& section, const std::wstring& key,
                        std::vector<std::wstring>& items, const std::wstring& separator) const;
  // Joins the items and stores them under the empty key name of section.
  virtual bool WriteList(const std::wstring& section, const std::vector<std::wstring>& items,
                         const std::wstring& separator = L",") const;

 private:
  std::wstring path_;
};
