#pragma once
// The program-side receivers of the service's events. Each service callback maps to
// the operation of the same name with "Impl" appended, with the same arguments.
#include <windows.h>
#include <oaidl.h>

class ISBServiceEventsSinkImpl {
 public:
  virtual ~ISBServiceEventsSinkImpl() = default;
  virtual void ServiceStateCBImpl(long state) = 0;
  virtual void PrivateConfigChangeCBImpl(long value) = 0;
  virtual void ServiceConfigChangeCBImpl() = 0;
  virtual void SystemErrorStateChangeCBImpl(bool errorState) = 0;
  virtual void SystemEventNotifyCBImpl(long value) = 0;
};

class ISBScanControlEventsSinkImpl {
 public:
  virtual ~ISBScanControlEventsSinkImpl() = default;
  virtual void ScanProgressStateCBImpl(long state, long value) = 0;
  // currentItem is the service's text, valid during the call.
  virtual void ScanProgressDetailsCBImpl(long state, BSTR currentItem, long itemsScanned, long itemsFound,
                                         long registryScanned, long cookiesScanned, long filesScanned,
                                         long processesScanned) = 0;
  virtual void CleanerProgressCBImpl(long itemsDone, long itemsTotal, long itemsFailed, BSTR text,
                                     long position) = 0;
  virtual void ScanControlConfigChangeCBImpl() = 0;
};

class ISBThreatDefinitionsEventsSinkImpl {
 public:
  virtual ~ISBThreatDefinitionsEventsSinkImpl() = default;
  virtual void ThreatDefMergeCBImpl(unsigned long version, long state, long totalBytes,
                                    long bytesReceived) = 0;
  virtual void ThreatDefinitionsConfigChangeCBImpl() = 0;
  virtual void ThreatDefinitionsPreUpdateCBImpl(long value) = 0;
};

// The log line every ServiceStateCBImpl writes: nothing for state 3, else level 2
// "The service state has changed to <name>." under context.
void LogServiceStateChange(const wchar_t* context, long state);
