#include "protocol/query_sequences.h"

#include "protocol/command_set.h"

const QueryStep kUnitStateQueries[4] = {
    {readVideoInput, kQueryPauseMs},
    {readAudioInput, kQueryPauseMs},
    {readBuzzerStatus, kQueryPauseMs},
    {readVersions, kQueryPauseMs},
};

const QueryStep kNetworkQueries[4] = {
    {readIpAddress, 0},
    {readIpPort, kQueryPauseMs},
    {readSubnetMask, kQueryPauseMs},
    {readGatewayAddress, kQueryPauseMs},
};
