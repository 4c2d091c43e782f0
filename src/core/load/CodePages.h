#pragma once

namespace velkor {

// Lets libxml2 read the single-byte Windows code pages (windows-1250 to
// windows-1258) where it has no converter of its own: on Windows it is
// built without iconv. Does nothing elsewhere. Called by
// initializeXmlLibrary.
void registerWindowsCodePages();

} // namespace velkor
