#!/usr/bin/env python3
"""A loopback TCP proxy that holds every piece of data for a fixed delay in
each direction, as a distant server would: bytes keep their order, and data
sent back to back stays back to back (the delay is not paid once per piece).
It prints its port on the first line of standard output and exits after
--lifetime seconds whatever happens.
Usage: latency_proxy.py --upstream PORT --delay-ms MS [--lifetime SECONDS]"""
import argparse
import asyncio
import os
import subprocess
import sys
import time


async def pump(reader, writer, delay):
    """Copies reader to writer, each piece written `delay` seconds after it arrived."""
    queue = asyncio.Queue()

    async def delayed_writer():
        while True:
            due, data = await queue.get()
            wait = due - time.monotonic()
            if wait > 0:
                await asyncio.sleep(wait)
            if not data:
                break
            writer.write(data)
            await writer.drain()
        if writer.can_write_eof():
            writer.write_eof()

    sender = asyncio.ensure_future(delayed_writer())
    try:
        while True:
            data = await reader.read(65536)
            queue.put_nowait((time.monotonic() + delay, data))
            if not data:
                break
        await sender
    except (ConnectionError, OSError):
        sender.cancel()
    finally:
        writer.close()


async def serve(upstream, delay, lifetime):
    async def connection(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection("127.0.0.1", upstream)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(pump(client_reader, server_writer, delay),
                             pump(server_reader, client_writer, delay), return_exceptions=True)

    server = await asyncio.start_server(connection, "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await asyncio.sleep(lifetime)
    os._exit(0)  # open connections end with the process


def start(upstream, delay_ms, lifetime):
    """Runs the proxy as a child process; gives (process, port). The caller ends it."""
    process = subprocess.Popen([sys.executable, __file__, "--upstream", str(upstream), "--delay-ms", str(delay_ms),
                                "--lifetime", str(lifetime)], stdout=subprocess.PIPE, text=True)
    return process, int(process.stdout.readline())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--upstream", type=int, required=True)
    parser.add_argument("--delay-ms", type=float, required=True)
    parser.add_argument("--lifetime", type=float, default=600)
    args = parser.parse_args()
    asyncio.run(serve(args.upstream, args.delay_ms / 1000.0, args.lifetime))


if __name__ == "__main__":
    main()
