// Which file format a file holds, and loading it into the shared models for the CLI.
#pragma once

#include <string>

#include "md3/md3.h"

// MD3 stands for the compressed MDC too: both read into, and are written from, a TMD3.
enum class ModelFormat { Unknown, MD3, Tag, MDM, MDX, ANINC };

// By the file name's extension, without regard to case.
ModelFormat FormatFromExtension(const std::string& path);

// By the extension, or by the file's identifier when the extension says nothing. Throws
// FileError when the file must be looked into and cannot be opened.
ModelFormat DetectInputFormat(const std::string& path);

// Each takes a file or an archive entry (see model_source.h).

// Fills `model` with the model or, for `level` 1 or 2, with that lower level of detail (see
// TModelSource); throws CliError ("Cannot load \"<file>\": <reason>") or FileError.
void LoadMD3OrThrow(TMD3& model, const std::string& path, int level = 0);

// The same without the vertex positions (TMD3::LoadLayoutFromFile), for listing a file.
void LoadMD3LayoutOrThrow(TMD3& model, const std::string& path);
