// The parts of the reference that no table holds: the line settings and what
// the panel does around its commands. The command texts in them come from the
// command rows, the query sequences from their tables.
#include "command_rows.h"
#include "reference_parts.h"

void writeLineSection(std::ostream& out) {
  out << "\n## The line\n\n"
         "**Serial.** When it opens a port, the panel sets 115200 baud, 8 data bits, no parity and one stop bit. "
         "Everything else stays as the port had it: flow control (CTS and DSR handshaking), DTR and RTS handling, "
         "XON/XOFF with its characters and limits, error-character and null-byte handling. Whatever reached the "
         "port before the panel opened it is thrown away unread. A line error (a framing error, an overrun, a "
         "break) on a port set to abort on errors is cleared and the panel goes on reading; a write that such an "
         "error aborted goes out once more.\n\n"
         "**TCP.** The panel can also send its commands as a TCP client to port 1024 of the unit. It reads nothing "
         "on that connection. No window of the panel offers a control that selects this link, so as the panel "
         "stands every command takes the serial link.\n\n"
         "**Commands** are ASCII texts without a terminator: no CR and no LF follow them. Each command has a "
         "transmit count N. The serial link writes N - 1 bytes and the TCP link N bytes: in both cases the text, "
         "then zero bytes up to that count. Mostly N is the text's length plus one, so that the text goes out "
         "alone on the serial link and with one zero byte on TCP.\n\n"
         "**Replies** are lines that start with the prompt `>` and end in CR LF (`0D 0A`).\n";
}

void writeBehaviourSection(std::ostream& out) {
  const std::string bellOff = code(commandText(CommandId::BuzzerOff));
  out << "\n## Behaviour around the commands\n\n"
         "### Connecting\n\n"
         "Choosing a port in the \"Connect\" menu closes the open port, opens the chosen one and forgets the "
         "inputs, the mute states (the unit has no mute query) and the network settings last reported, sets up "
         "the line and then sends:\n\n"
         "1. "
      << bellOff << "\n";
  writeQuerySteps(out, kUnitStateQueries, 2);
  out << "\nThen each settings window that is open asks the new unit again, after a pause of "
      << kQueryPauseMs
      << " ms, what it asks when it opens (below): \"Output Video Settings\" first, then \"Network Settings\". A "
         "window that is closed asks nothing.\n\n"
         "The pauses hold the panel; replies that arrive meanwhile are read after the last query. The panel opens "
         "every port in the device namespace (`\\\\.\\COM12`), as Windows opens ports above COM9 only there. A "
         "port that cannot be opened gets nothing and an error box gives the system's reason; one whose settings "
         "cannot be read or applied is closed again after an error box, and nothing is sent. When no reply line "
         "at all has come "
      << kUnitAnswerWaitMs / 1000
      << " s after the queries, a box says that the unit on the port has not answered (once a connection); "
         "the controls stay usable, and a later reply is shown as any other.\n\n"
         "### Restore Default Settings\n\n"
         "\"File\" > \"Restore Default Settings\" sends "
      << code(commandText(CommandId::RestoreDefaults))
      << ", then forgets the inputs, the mute states (no output is shown muted, and each mute button asks for a "
         "mute) and the network settings, and asks again, without "
      << bellOff << ":\n\n";
  writeQuerySteps(out, kUnitStateQueries, 1);
  out << "\nThe open settings windows then ask again as on connecting.\n";
  out << "\n### Network Settings\n\nOpening \"Network Settings\" sends:\n\n";
  writeQuerySteps(out, kNetworkQueries, 1);
  out << "\nA \"Set\" button sends its row only when every edit of the row holds decimal digits alone, 0 to 255 for "
         "an octet and 0 to 65535 for the port; otherwise a warning box shows and nothing is sent. A row that is "
         "sent is emptied.\n\n"
         "### Output Video Settings\n\n"
         "Opening \"Output Video Settings\" sends "
      << code(commandText(CommandId::ReadOutputResolution)) << ", " << code(commandText(CommandId::ReadBrightness))
      << " and " << code(commandText(CommandId::ReadContrast))
      << " without pauses. A brightness or contrast reply moves its trackbar only when it is the first such reply "
         "after that query and the operator has not moved that trackbar since: the replies to the operator's own "
         "changes, and an answer that comes after the operator's move, leave the trackbars where the operator put "
         "them.\n\n"
         "### Values not sent twice\n\n"
         "Brightness, contrast and each audio input's level remember the last value sent; all start at 0. A value "
         "equal to it is not sent (so a first 0 is not sent, and dragging a trackbar sends each new position once). "
         "A value reply that moves a trackbar becomes the last value. A value that did not go out is not remembered: "
         "asking for the same value again sends it.\n\n"
         "### Mute toggles\n\n"
         "Each mute button asks for the opposite of the state the unit last reported: "
      << code(commandText(CommandId::CloseHdmiMute)) << " or " << code(commandText(CommandId::OpenHdmiMute)) << ", "
      << code(commandText(CommandId::CloseAnalogMute)) << " or " << code(commandText(CommandId::OpenAnalogMute))
      << ", " << code(commandText(CommandId::MuteAllOn)) << " or " << code(commandText(CommandId::MuteAllOff))
      << ". Nothing changes on the screen until the unit's reply, so pressing twice before it sends the same "
         "text twice.\n\n"
         "### A command that does not go out\n\n"
         "Every command that goes out is echoed in the output pane after `Tx> `. One that does not is not echoed: "
         "when no port is open (a settings window left open after the link was lost) or when its write fails, the "
         "pane says that it was not sent and why, and a value that was not sent is not remembered as sent. A "
         "write that ends short (a handshake line held it back past its time-out) has failed too.\n\n"
         "### A lost link\n\n"
         "A read that fails, or a write that fails because the port's device is gone (a pulled cable, an unplugged "
         "adapter), closes the port: a box and a line in the pane name the port and the system's reason, the "
         "controls that send to the unit grey until the port is chosen again, and the inputs, mutes and network "
         "settings the unit reported are forgotten.\n";
}
