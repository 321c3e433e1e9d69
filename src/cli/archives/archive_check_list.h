// The archive side of `veldra-cli check`: which entries of a .pk3 it checks, taken out of the
// archive together with the entries the game pairs them with.
#pragma once

void InstallArchiveCheckListing();
