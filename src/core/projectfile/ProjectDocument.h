#pragma once

#include "projectfile/ProjectFile.h"

#include <string>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

namespace korvan {

// A project file read and parsed: its root element, or why the file holds no project.
struct ProjectDocumentRead {
    const tinyxml2::XMLElement* root = nullptr; // owned by the document passed in
    LoadStatus status = LoadStatus::Unreadable; // Loaded once root is set
    std::string message;                        // otherwise the message to show, naming the file
};

// Reads the file at `path` into `document`. Refused: a file that cannot be read or is far
// larger than any project, text that is not well-formed XML, a document without an element,
// and one whose root is not a project's (see isProjectRoot).
[[nodiscard]] ProjectDocumentRead readProjectDocument(const std::string& path,
                                                      tinyxml2::XMLDocument& document);

// The root of a project is the element "TREVLINK". Elements are found by their Value, so a
// root whose Value is "TREVLINK" is one whatever its tag; a file edited by hand that lost the
// attribute but kept the tag is one too. Any other root (an unrelated XML file) holds no
// project: read as one it would open as an empty project.
[[nodiscard]] bool isProjectRoot(const tinyxml2::XMLElement& root);

} // namespace korvan
