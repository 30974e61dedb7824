// The settings store: typed values by key from an XML file kept as an in-memory document.
//
// A key such as "List" names the element Root\List, where Root is the root node name. Setting
// FileName loads the file (a missing file gives an empty document); reads never touch the file;
// Flush writes the document back; setting FileName to "" forgets the file. The store flushes
// when destroyed.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "settings/simple_xml.h"

namespace pavona::settings {

// A property set to a value it does not accept.
class EPropertyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A key or node name that cannot be made an element name.
class EAppStorageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TAppXMLStorageOptions {
 public:
  const std::string& BooleanStringTrueValues() const { return FBooleanStringTrueValues; }
  const std::string& BooleanStringFalseValues() const { return FBooleanStringFalseValues; }
  // Setting a list whose first word is empty turns BooleanAsString off.
  void SetBooleanStringTrueValues(const std::string& words);
  void SetBooleanStringFalseValues(const std::string& words);
  bool BooleanAsString() const { return FBooleanAsString; }
  // True takes effect only while both lists have a first word.
  void SetBooleanAsString(bool value);

  const std::string& WhiteSpaceReplacement() const { return FWhiteSpaceReplacement; }
  const std::string& InvalidCharReplacement() const { return FInvalidCharReplacement; }
  // Both accept only characters allowed in element names; raise EPropertyError otherwise.
  void SetWhiteSpaceReplacement(const std::string& value);
  void SetInvalidCharReplacement(const std::string& value);

  // The words of a list, upper-cased, split as comma text.
  std::vector<std::string> TrueWords() const;
  std::vector<std::string> FalseWords() const;

 private:
  std::string FBooleanStringTrueValues = "TRUE, YES, Y";
  std::string FBooleanStringFalseValues = "FALSE, NO, N";
  bool FBooleanAsString = true;
  std::string FWhiteSpaceReplacement;
  std::string FInvalidCharReplacement = "_";
};

class TAppXMLFileStorage {
 public:
  TAppXMLFileStorage();
  // Flushes when FlushOnDestroy is set, as Flush does: errors are absorbed.
  ~TAppXMLFileStorage();
  TAppXMLFileStorage(const TAppXMLFileStorage&) = delete;
  TAppXMLFileStorage& operator=(const TAppXMLFileStorage&) = delete;

  TAppXMLStorageOptions& StorageOptions() { return FStorageOptions; }

  std::string RootNodeName() const { return FXml.Root().Name; }
  // Raises EPropertyError "The node must be given a name" for "".
  void SetRootNodeName(const std::string& name);

  const std::string& FileName() const { return FFileName; }
  // The file actually read and written: FileName as given (plus ".xml" when it has no extension).
  const std::string& FullFileName() const { return FFullFileName; }
  // Loads the file. Load errors (unreadable file, ESimpleXMLError) propagate; the name stays set
  // and the document keeps what was read, but a document that failed to load is never written.
  void SetFileName(const std::string& value);

  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  bool FlushOnDestroy() const { return FFlushOnDestroy; }
  void SetFlushOnDestroy(bool value) { FFlushOnDestroy = value; }
  // Receives the errors that Flush absorbs; unassigned, they are dropped.
  std::function<void(const std::exception&)> OnError;

  // The value of the key's element (possibly empty), or the default when there is none.
  std::string ReadString(std::string_view path, const std::string& defaultValue);
  // True and false words first, then numbers (not zero is true), then "True"/"False"; any other
  // text, the empty text included, is false. The default only stands in for a missing element.
  bool ReadBoolean(std::string_view path, bool defaultValue);

  // Writes the document to FullFileName, creating its folders. Does nothing without a file
  // name, when read-only (the store's flag, or the file's own when it was loaded), or after a
  // failed load. Never raises.
  void Flush();

  TSimpleXML& Xml() { return FXml; }

 private:
  void Reload();
  // The element of a key, or nullptr.
  const TSimpleXMLElem* FindValueElement(std::string_view path) const;
  std::string AbsolutePath(std::string_view path) const;
  std::string ElementName(std::string_view name) const;

  std::string FRoot;
  TAppXMLStorageOptions FStorageOptions;
  TSimpleXML FXml;
  std::string FFileName;
  std::string FFullFileName;
  bool FPhysicalReadOnly = false;
  bool FLoadFailed = false;
  bool FReadOnly = false;
  bool FFlushOnDestroy = true;
};

}  // namespace pavona::settings
