#pragma once

// How a message to the user is marked; the reader picks it, whoever shows the message uses it.
enum class MessageIcon { Error, Warning, Question, Information };
