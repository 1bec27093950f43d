"""The device's FTP server for the firmware tests: pyftpdlib on a loopback address and a port
the system picks (or --port), one user, and faults chosen on the command line. Prints
"PORT <n>" once it listens; every command it receives goes to --log, one line each (the
password masked)."""
import argparse
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--port", type=int, default=0)  # 0: one the system picks
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--log", required=True)
    # dele-refused: DELE answered 550; dele-close: the connection is dropped on DELE;
    # stall=N: an upload stops being read after N bytes.
    parser.add_argument("--fault", action="append", default=[])
    args = parser.parse_args()

    faults = {}
    for fault in args.fault:
        name, _, value = fault.partition("=")
        faults[name] = value
    log = open(args.log, "a", buffering=1)

    class Data(DTPHandler):
        def handle_read(self):
            DTPHandler.handle_read(self)
            limit = faults.get("stall")
            if limit is not None and self.tot_bytes_received >= int(limit):
                self.del_channel()  # nothing more is read, and nothing is answered

        handle_read_event = handle_read

    class Handler(FTPHandler):
        dtp_handler = Data
        # A refused login is answered at once, as the device does (the library's own delay
        # would outlast the client's receive time-out).
        auth_failed_timeout = 0

        def pre_process_command(self, line, cmd, arg):
            log.write(("PASS ******" if cmd == "PASS" else line) + "\n")
            if cmd == "DELE" and "dele-refused" in faults:
                self.respond("550 Cannot erase the application memory.")
                return
            if cmd == "DELE" and "dele-close" in faults:
                self.close()
                return
            FTPHandler.pre_process_command(self, line, cmd, arg)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    server = FTPServer((args.host, args.port), Handler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
