// ---------------------------------------------------------------- media.js
// Sound and music: one sound and one music at a time, each replacing the
// one playing, as the runner's two players do. A browser may refuse to play
// before the student has touched the page; the sound is then simply not
// heard, as on a computer without speakers.
const players = { sound: new Audio(), music: new Audio() };

function play(kind, bytes, type) {
  stop(kind);
  const player = players[kind];
  player.src = urlFor(player, bytes, type);
  player.play().catch(() => {});
}

function stop(kind) {
  const player = players[kind];
  player.pause();
  player.removeAttribute('src');
  player.load();
  releaseUrl(player);
}

function stopAllMedia() {
  stop('sound');
  stop('music');
}
