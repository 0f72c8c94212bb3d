#pragma once

// How a message box marks its message.
enum class MessageIcon { Error, Warning, Question, Information };
