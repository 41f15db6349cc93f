#pragma once
// DODADOZA, the engine's settings and results library: COM-style interfaces (stable
// across the DLL boundary) and its five exported factory getters.
//
// Reference rules: every function or method that gives an interface pointer gives a
// new reference, which the caller releases; the release of the last reference ends
// the object's life. Texts given as BSTR belong to the caller (SysFreeString).
// Methods run on the caller's thread; the library uses the platform's XML parser, so
// the thread must have initialised COM.
#include <windows.h>
#include <oaidl.h>

// ---- Scan results ---------------------------------------------------------------

// One item found: a file, folder, registry entry, process or cookie.
struct IDDZTrace : public IUnknown {
  // "kind,path", for example "file,C:\Users\Public\sample.exe".
  virtual BSTR STDMETHODCALLTYPE Value() = 0;
};

struct IDDZTraceCollection : public IUnknown {
  virtual IDDZTrace* STDMETHODCALLTYPE Next() = 0;  // nullptr at the end
  virtual void STDMETHODCALLTYPE Reset() = 0;
  virtual long STDMETHODCALLTYPE Count() = 0;
  // Removes the trace from its threat; S_FALSE when it is not in this collection.
  virtual HRESULT STDMETHODCALLTYPE Remove(IDDZTrace* trace) = 0;
};

struct IDDZThreat : public IUnknown {
  virtual BSTR STDMETHODCALLTYPE Name() = 0;
  virtual long STDMETHODCALLTYPE Level() = 0;  // 1 (severe) to 5; 0 when unreadable
  // 1 remove the threat's items when cleaning, 2 leave the threat alone.
  virtual void STDMETHODCALLTYPE SetActionRequested(long action) = 0;
  virtual IDDZTraceCollection* STDMETHODCALLTYPE Traces() = 0;
  virtual long STDMETHODCALLTYPE ActionRequested() = 0;
  virtual BSTR STDMETHODCALLTYPE Category() = 0;
  virtual BSTR STDMETHODCALLTYPE Advice() = 0;
};

struct IDDZThreatCollection : public IUnknown {
  virtual IDDZThreat* STDMETHODCALLTYPE Next() = 0;  // nullptr at the end
  virtual void STDMETHODCALLTYPE Reset() = 0;
  virtual long STDMETHODCALLTYPE Count() = 0;
};

// A results file opened as objects. Its life ends with its last Release.
struct IDDZScanResults : public IUnknown {
  virtual IDDZThreatCollection* STDMETHODCALLTYPE Threats() = 0;  // nullptr on failure
  // Writes the results to path; *errorFlag is non-zero when the file was not written.
  // flags: 0.
  virtual void STDMETHODCALLTYPE SaveToFile(const wchar_t* path, long* errorFlag, long flags) = 0;
};

struct IDDZScanResultsFactory : public IUnknown {
  // *errorFlag is non-zero when the file could not be read; the object given then
  // (possibly nullptr) must not be used beyond its Release.
  virtual IDDZScanResults* STDMETHODCALLTYPE CreateFromFile(const wchar_t* path, long* errorFlag) = 0;
};

// ---- Settings -------------------------------------------------------------------

// One scan profile of the threat engine, keyed by scan kind (0 quick, 1 deep, 2 custom),
// with twenty numbered boolean options.
struct IDDZScanProfile : public IUnknown {
  virtual long STDMETHODCALLTYPE Kind() = 0;
  virtual void STDMETHODCALLTYPE SetOption(long number, BOOL value) = 0;  // number 1..20
  // 1 true, 0 false, -1 not set (or a number outside 1..20).
  virtual long STDMETHODCALLTYPE Option(long number) = 0;
};

struct IDDZScanProfileList : public IUnknown {
  virtual long STDMETHODCALLTYPE Count() = 0;
  virtual IDDZScanProfile* STDMETHODCALLTYPE Item(long index) = 0;  // 0-based; nullptr outside
  virtual IDDZScanProfile* STDMETHODCALLTYPE Find(long kind) = 0;   // nullptr when absent
  virtual IDDZScanProfile* STDMETHODCALLTYPE Add(long kind) = 0;
};

// A scan location: path, type, recursion, kind, final number. For the custom scan the
// engine reads kind 6 as an excluded folder, 2 an excluded file and 5 an excluded file
// type ("*ext").
struct IDDZScanLocation : public IUnknown {
  virtual BSTR STDMETHODCALLTYPE Path() = 0;
  virtual long STDMETHODCALLTYPE Type() = 0;
  virtual long STDMETHODCALLTYPE Recursion() = 0;
  virtual long STDMETHODCALLTYPE Kind() = 0;
  virtual long STDMETHODCALLTYPE Final() = 0;
};

struct IDDZScanLocationList : public IUnknown {
  virtual long STDMETHODCALLTYPE Count() = 0;
  virtual IDDZScanLocation* STDMETHODCALLTYPE Item(long index) = 0;  // 0-based
  virtual void STDMETHODCALLTYPE Clear() = 0;
  virtual HRESULT STDMETHODCALLTYPE Add(const wchar_t* path, long type, long recursion, long kind,
                                        long final) = 0;
};

// Threat-engine settings: three general options, scan profiles, scan locations.
struct IDDZThreatEngineSettings : public IUnknown {
  virtual void STDMETHODCALLTYPE SetGeneralOption(long number, BOOL value) = 0;  // number 1..3
  virtual long STDMETHODCALLTYPE GeneralOption(long number) = 0;  // 1, 0, -1 not set
  virtual IDDZScanProfileList* STDMETHODCALLTYPE Profiles() = 0;
  virtual IDDZScanLocationList* STDMETHODCALLTYPE Locations() = 0;
  virtual BSTR STDMETHODCALLTYPE ToXml() = 0;
};

// The update-server section of the definition-update and software-update settings.
struct IDDZUpdateServer : public IUnknown {
  virtual void STDMETHODCALLTYPE SetAddress(const wchar_t* address) = 0;
  virtual BSTR STDMETHODCALLTYPE Address() = 0;
  virtual void STDMETHODCALLTYPE SetNumber(long number) = 0;
  virtual long STDMETHODCALLTYPE Number() = 0;
  virtual void STDMETHODCALLTYPE SetLanguage(const wchar_t* language) = 0;
  virtual BSTR STDMETHODCALLTYPE Language() = 0;
  virtual void STDMETHODCALLTYPE SetVendor(const wchar_t* vendor) = 0;
  virtual BSTR STDMETHODCALLTYPE Vendor() = 0;
  virtual void STDMETHODCALLTYPE SetFlag(BOOL flag) = 0;
  virtual BOOL STDMETHODCALLTYPE Flag() = 0;
};

// Definition-update settings: two general options and the update server.
struct IDDZDefinitionUpdateSettings : public IUnknown {
  virtual void STDMETHODCALLTYPE SetGeneralOption(long number, BOOL value) = 0;  // number 1..2
  virtual long STDMETHODCALLTYPE GeneralOption(long number) = 0;
  virtual IDDZUpdateServer* STDMETHODCALLTYPE UpdateServer() = 0;
  virtual BSTR STDMETHODCALLTYPE ToXml() = 0;
};

// Software-update settings: two general options and the update server.
struct IDDZSoftwareUpdateSettings : public IUnknown {
  virtual void STDMETHODCALLTYPE SetGeneralOption(long number, BOOL value) = 0;  // number 1..2
  virtual long STDMETHODCALLTYPE GeneralOption(long number) = 0;
  virtual IDDZUpdateServer* STDMETHODCALLTYPE UpdateServer() = 0;
  virtual BSTR STDMETHODCALLTYPE ToXml() = 0;
};

struct IDDZProxySettings : public IUnknown {
  virtual void STDMETHODCALLTYPE SetEnabled(BOOL enabled) = 0;
  virtual BOOL STDMETHODCALLTYPE Enabled() = 0;
  virtual void STDMETHODCALLTYPE SetServer(const wchar_t* server) = 0;
  virtual BSTR STDMETHODCALLTYPE Server() = 0;
  virtual void STDMETHODCALLTYPE SetPort(const wchar_t* port) = 0;
  virtual BSTR STDMETHODCALLTYPE Port() = 0;
};

// Service settings: one general option and the proxy section.
struct IDDZServiceSettings : public IUnknown {
  virtual void STDMETHODCALLTYPE SetGeneralOption(long number, BOOL value) = 0;  // number 1
  virtual long STDMETHODCALLTYPE GeneralOption(long number) = 0;
  virtual IDDZProxySettings* STDMETHODCALLTYPE Proxy() = 0;
  virtual BSTR STDMETHODCALLTYPE ToXml() = 0;
};

// Each factory turns the XML text of the service into an object. An empty text gives
// the default object. *errorFlag is non-zero when the text was not usable; the object
// given is then to be released, not used.
struct IDDZThreatEngineSettingsFactory : public IUnknown {
  virtual IDDZThreatEngineSettings* STDMETHODCALLTYPE Create(const wchar_t* xml, long* errorFlag) = 0;
};
struct IDDZDefinitionUpdateSettingsFactory : public IUnknown {
  virtual IDDZDefinitionUpdateSettings* STDMETHODCALLTYPE Create(const wchar_t* xml,
                                                                 long* errorFlag) = 0;
};
struct IDDZServiceSettingsFactory : public IUnknown {
  virtual IDDZServiceSettings* STDMETHODCALLTYPE Create(const wchar_t* xml, long* errorFlag) = 0;
};
struct IDDZSoftwareUpdateSettingsFactory : public IUnknown {
  virtual IDDZSoftwareUpdateSettings* STDMETHODCALLTYPE Create(const wchar_t* xml,
                                                               long* errorFlag) = 0;
};


// Interface ids, for QueryInterface and __uuidof.
__CRT_UUID_DECL(IDDZTrace, 0x42f47c8f, 0xa478, 0x43fb, 0xaa, 0x26, 0x14, 0x0f, 0xb1, 0xaa, 0xaa, 0xbb)
__CRT_UUID_DECL(IDDZTraceCollection, 0x5eb3c57c, 0x5fc2, 0x4a20, 0xbc, 0xd3, 0x94, 0x25, 0x43, 0x0e, 0x7d, 0x92)
__CRT_UUID_DECL(IDDZThreat, 0x9473c25a, 0xc308, 0x4c72, 0x8f, 0x6b, 0xd0, 0x64, 0xce, 0x91, 0x55, 0x03)
__CRT_UUID_DECL(IDDZThreatCollection, 0xec903a81, 0x4615, 0x4ec8, 0x95, 0xea, 0x94, 0x0f, 0x27, 0x7f, 0x3f, 0x83)
__CRT_UUID_DECL(IDDZScanResults, 0xfc843bec, 0x6160, 0x4249, 0xa2, 0x1b, 0xad, 0x7d, 0x25, 0x55, 0x6c, 0x5e)
__CRT_UUID_DECL(IDDZScanResultsFactory, 0xc3c59a56, 0x5039, 0x4f69, 0x8e, 0xb0, 0xe1, 0xec, 0x3b, 0xb9, 0xa5, 0x1d)
__CRT_UUID_DECL(IDDZScanProfile, 0xa9d4098c, 0x75ed, 0x4ea2, 0xbd, 0x95, 0xa2, 0xa7, 0x24, 0xd8, 0x56, 0x14)
__CRT_UUID_DECL(IDDZScanProfileList, 0x087e6314, 0x091d, 0x4928, 0xb5, 0xbe, 0xbc, 0x99, 0x88, 0x34, 0x3c, 0xcb)
__CRT_UUID_DECL(IDDZScanLocation, 0xc2754929, 0x57f9, 0x4e57, 0xb6, 0x1b, 0x29, 0xeb, 0x8c, 0xf0, 0x82, 0x4f)
__CRT_UUID_DECL(IDDZScanLocationList, 0x15e57827, 0x8d22, 0x43ba, 0xa9, 0xb5, 0x2d, 0xc6, 0x6b, 0x58, 0x0f, 0x44)
__CRT_UUID_DECL(IDDZThreatEngineSettings, 0x9e784588, 0x41e2, 0x43b0, 0x9c, 0xe2, 0xca, 0x50, 0xc9, 0xdd, 0x09, 0xde)
__CRT_UUID_DECL(IDDZUpdateServer, 0x695d2107, 0x4af3, 0x4863, 0xae, 0x4b, 0x6e, 0x93, 0xd1, 0x08, 0x56, 0xb4)
__CRT_UUID_DECL(IDDZDefinitionUpdateSettings, 0x31d6fbe6, 0x7aa9, 0x4153, 0xba, 0xcf, 0xed, 0x90, 0x5c, 0x1e, 0x5a, 0xa5)
__CRT_UUID_DECL(IDDZSoftwareUpdateSettings, 0xab9c22bc, 0x9f96, 0x4869, 0x9c, 0xf5, 0xa6, 0x09, 0xc2, 0xe4, 0xc2, 0x81)
__CRT_UUID_DECL(IDDZProxySettings, 0xf924dc2b, 0xfb29, 0x4b44, 0xb9, 0x7e, 0xf9, 0xa7, 0xcb, 0x62, 0x03, 0x4a)
__CRT_UUID_DECL(IDDZServiceSettings, 0xdc5ef6a6, 0xc363, 0x4632, 0x80, 0x73, 0x02, 0x08, 0x55, 0xc8, 0x59, 0xaf)
__CRT_UUID_DECL(IDDZThreatEngineSettingsFactory, 0xd05a39df, 0xfa58, 0x401a, 0x89, 0xa9, 0xab, 0x2c, 0xc6, 0x4e, 0xf7, 0x5f)
__CRT_UUID_DECL(IDDZDefinitionUpdateSettingsFactory, 0x42e77f5c, 0x2231, 0x4fe3, 0xab, 0x4e, 0xe6, 0x71, 0x31, 0xc7, 0xf4, 0x6e)
__CRT_UUID_DECL(IDDZServiceSettingsFactory, 0xc5966d43, 0x4666, 0x47ba, 0x9c, 0x3c, 0x68, 0x38, 0xe5, 0x41, 0xbe, 0xcb)
__CRT_UUID_DECL(IDDZSoftwareUpdateSettingsFactory, 0x508b3b92, 0x5614, 0x4eed, 0x8b, 0xe1, 0xc7, 0xfc, 0x1d, 0x80, 0x30, 0xab)

// ---- Exports of DODADOZA.dll ----------------------------------------------------
// Each gives a new reference to the library's factory, or nullptr.

#define DODADOZA_LIBRARY_NAME L"DODADOZA.dll"

extern "C" {
typedef IDDZScanResultsFactory* (WINAPI* PFN_GetNVScanResultsFactory)();
typedef IDDZThreatEngineSettingsFactory* (WINAPI* PFN_GetThreatEngineSettingsFactory)();
typedef IDDZServiceSettingsFactory* (WINAPI* PFN_GetServiceSettingsFactory)();
typedef IDDZDefinitionUpdateSettingsFactory* (WINAPI* PFN_GetDefinitionUpdateSettingsFactory)();
typedef IDDZSoftwareUpdateSettingsFactory* (WINAPI* PFN_GetSoftwareUpdateSettingsFactory)();
}

#ifdef DODADOZA_BUILDING
#define DODADOZA_API extern "C" __declspec(dllexport)
#else
#define DODADOZA_API extern "C" __declspec(dllimport)
#endif

DODADOZA_API IDDZScanResultsFactory* WINAPI GetNVScanResultsFactory();
DODADOZA_API IDDZThreatEngineSettingsFactory* WINAPI GetThreatEngineSettingsFactory();
DODADOZA_API IDDZServiceSettingsFactory* WINAPI GetServiceSettingsFactory();
DODADOZA_API IDDZDefinitionUpdateSettingsFactory* WINAPI GetDefinitionUpdateSettingsFactory();
DODADOZA_API IDDZSoftwareUpdateSettingsFactory* WINAPI GetSoftwareUpdateSettingsFactory();

// Where the engine's installer records the library's folder (machine hive).
#define DODADOZA_INSTALL_KEY L"Software\\ZADEZud"
#define DODADOZA_INSTALL_VALUE L"EngineFolder"
