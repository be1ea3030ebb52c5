#!/usr/bin/python3
# An FTP server on 127.0.0.1 (a free port) whose account logs in to a folder
# below the server's root, as on a shared host:
#   login_folder_ftpd.py ROOT LOGIN_FOLDER
# LOGIN_FOLDER is "/" style, relative to ROOT. Prints the port like pyftpdlib.
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root, login = sys.argv[1], sys.argv[2]


class Handler(FTPHandler):
    def on_login(self, username):
        self.fs.cwd = login


authorizer = DummyAuthorizer()
# The rights a score server gives its players: read everywhere, store (and
# nothing else) in incoming/.
authorizer.add_user("trumol4", "zededor", root, perm="elr")
authorizer.override_perm("trumol4", root.rstrip("/") + login.rstrip("/") + "/incoming", perm="ew")
Handler.authorizer = authorizer
server = FTPServer(("127.0.0.1", 0), Handler)
print("starting FTP server on 127.0.0.1:%d" % server.address[1], flush=True)
server.serve_forever()
