#pragma once

// The module that holds everything QtNetwork does for the program: the router's requests, the
// call monitor's connection and the local socket of the single-instance check. QtNetwork brings
// TLS, Kerberos and proxy libraries that the first frame does not need.
constexpr const char* NetworkModuleName = "kurbelfon-network";
