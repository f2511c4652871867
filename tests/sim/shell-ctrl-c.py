#!/usr/bin/env python3
# On a terminal, Ctrl-C in the shell abandons the line being typed and leaves the device running;
# Ctrl-D ends the shell with status 0 when every command succeeded.
#   shell-ctrl-c.py TORVANE_SIM
import os, pty, select, shutil, sys, tempfile, time

def read_until(fd, text, seconds=20):
    seen = b""
    deadline = time.time() + seconds
    while text.encode() not in seen:
        if time.time() > deadline:
            sys.exit("timed out waiting for %r; saw:\n%s" % (text, seen.decode(errors="replace")))
        ready, _, _ = select.select([fd], [], [], 0.5)
        if ready:
            try:
                seen += os.read(fd, 4096)
            except OSError:
                break
    return seen.decode(errors="replace")

home = tempfile.mkdtemp()  # the history file goes here
pid, fd = pty.fork()
if pid == 0:
    os.environ["HOME"] = home
    os.execv(sys.argv[1], [sys.argv[1], "shell"])

read_until(fd, "> ")
os.write(fd, b"boot\r")
booted = read_until(fd, "ok")
# The prompt after boot's answer (it may have come with it), so that the prompt waited for below
# is the one after Ctrl-C.
if "> " not in booted[booted.index("ok"):]:
    read_until(fd, "> ")
os.write(fd, b"lock and some typing")
time.sleep(0.2)
os.write(fd, b"\x03")           # Ctrl-C
read_until(fd, "> ")
os.write(fd, b"expect springboard /locked == false\r")
out = read_until(fd, "> ")
if "ok" not in out:
    sys.exit("the device did not survive Ctrl-C, or the abandoned line ran:\n" + out)
os.write(fd, b"\x04")           # Ctrl-D
_, status = os.waitpid(pid, 0)
history = os.path.join(home, ".torvane-sim_history")
kept = open(history).read() if os.path.exists(history) else ""
shutil.rmtree(home)
if "expect springboard /locked == false" not in kept or "some typing" in kept:
    sys.exit("history holds the lines run, not the abandoned one: %r" % kept)
if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
    sys.exit("shell ended with %r, expected exit status 0" % status)
