// Modules and the resources embedded in them.
//
// A program's resources are bound into its executable at build time (see
// cmake/EmbedResources.cmake). Types and names are either strings, compared without regard to
// case as on the device, or numbers passed with MAKEINTRESOURCEW. A string name "#123" means the
// number 123, as on the device.
#pragma once

#include "platform/types.h"

using HRSRC = struct HRSRC__*;
using HGLOBAL = HANDLE;

// Numeric resource types of the device.
inline const LPCWSTR RT_BITMAP = MAKEINTRESOURCEW(2);
inline const LPCWSTR RT_ICON = MAKEINTRESOURCEW(3);
inline const LPCWSTR RT_MENU = MAKEINTRESOURCEW(4);
inline const LPCWSTR RT_DIALOG = MAKEINTRESOURCEW(5);
inline const LPCWSTR RT_STRING = MAKEINTRESOURCEW(6);
inline const LPCWSTR RT_RCDATA = MAKEINTRESOURCEW(10);

// Only the program's own module is known: a fixed value stands for it. Any other name fails
// with ERROR_MOD_NOT_FOUND.
HMODULE GetModuleHandleW(LPCWSTR moduleName);

// Finds a resource of the program's module (module null or the program's own handle). Note the
// device's argument order: name before type. Null with ERROR_RESOURCE_TYPE_NOT_FOUND or
// ERROR_RESOURCE_NAME_NOT_FOUND when there is no such resource.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);

// The resource's bytes stay mapped for the life of the process, as on the device; the result is
// their address.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);

// The resource's size in bytes; 0 for an unknown resource.
DWORD SizeofResource(HMODULE module, HRSRC resource);

// The address of a loaded resource's first byte.
LPVOID LockResource(HGLOBAL loaded);
