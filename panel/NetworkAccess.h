// Opens the firewall for the server's ports and, behind WSL's NAT, forwards them.
#pragma once

void SetupNetworkAccess();
