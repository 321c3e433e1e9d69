// The archive side of `veldra-cli check`: which entries of a .pk3 it checks.
#pragma once

void InstallArchiveCheckListing();
