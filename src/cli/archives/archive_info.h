// `veldra-cli info ARCHIVE.pk3`: a summary of what an archive holds.
#pragma once

void InstallArchiveDescription();
