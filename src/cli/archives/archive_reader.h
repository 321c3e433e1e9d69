// Gives the commands of a program linked with the archive reader their archive entries
// (see cli/model_source.h).
#pragma once

void InstallArchiveReader();
